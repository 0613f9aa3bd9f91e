#include "widgets/windowbars.h"

#include "core/sharedstate.h"
#include "platform/platform.h"
#include "widgets/keystate.h"
#include "widgets/ui.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace
{
// A panel as wide as its table says, or wider where the fonts at hand need it for its texts.
int widthFor(const QLabel *panel, int tableWidth, const QStringList &samples)
{
    int needed = 0;
    for (const QString &sample : samples)
        needed = std::max(needed, panel->fontMetrics().horizontalAdvance(sample));
    if (needed > 0)
        needed += 2 * panel->frameWidth() + 2 * panel->margin() + 4;
    return std::max(tableWidth, needed);
}

// The bars are the window's chrome: they keep the system's colours, in every state,
// whatever colours the window's classroom is drawn in.
void keepApplicationColours(QWidget *bar)
{
    const QPalette system = QApplication::palette();
    QPalette p = bar->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button,
                                               QPalette::ButtonText, QPalette::Base, QPalette::Text})
            p.setColor(group, role, system.color(group, role));
    }
    bar->setPalette(p);
    bar->setAutoFillBackground(true);
}
} // namespace

PositionToolbar::PositionToolbar(QWidget *client, const std::vector<ToolbarItem> &items) : QToolBar(client)
{
    keepApplicationColours(this);
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setGeometry(0, 0, client->width(), tw(ToolbarHeightTwips));
    int position = 0;
    for (const ToolbarItem &item : items) {
        ++position;
        if (item.separator) {
            addSeparator()->setObjectName(QStringLiteral("Toolbar1_%1").arg(position));
            continue;
        }
        // The style's image is made only where the theme has none: making it costs start-up time.
        QIcon icon = QIcon::fromTheme(item.iconTheme);
        if ((icon.isNull() || icon.availableSizes().isEmpty()) && item.fallback != QStyle::SP_CustomBase)
            icon = style()->standardIcon(item.fallback);
        QAction *action = addAction(icon, QString());
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(position));
        action->setToolTip(item.toolTip);
        auto *b = qobject_cast<QToolButton *>(widgetForAction(action));
        // The button shows only its image; a screen reader says its tooltip, without the blanks.
        b->setAccessibleName(item.toolTip.trimmed());
        b->setObjectName(QStringLiteral("Toolbar1_button_%1").arg(position));
        buttons_[position] = b;
        connect(action, &QAction::triggered, this, [this, position] { emit buttonClicked(position); });
        if (item.command)
            connect(action, &QAction::triggered, this, item.command);
    }
}

QToolButton *PositionToolbar::button(int position) const
{
    const auto it = buttons_.find(position);
    return it == buttons_.end() ? nullptr : it->second;
}

void PositionToolbar::setButtonEnabled(int position, bool enabled)
{
    if (QToolButton *b = button(position))
        b->defaultAction()->setEnabled(enabled);
}

bool PositionToolbar::isButtonEnabled(int position) const
{
    QToolButton *b = button(position);
    return b && b->defaultAction()->isEnabled();
}

StatusPanels::StatusPanels(QWidget *client, const std::vector<Panel> &panels) : QFrame(client)
{
    setObjectName(QStringLiteral("StatusBar1"));
    keepApplicationColours(this);
    const int height = tw(StatusBarHeightTwips);
    setGeometry(0, client->height() - height, client->width(), height);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    int index = 0;
    for (const Panel &p : panels) {
        ++index;
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusBar1_panel_%1").arg(index));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setFont(makeFont(Face::UIGothic, 9));
        label->setText(p.kind == Kind::Caps  ? QStringLiteral("CAPS")
                       : p.kind == Kind::Ins ? QStringLiteral("INS")
                                             : p.text);
        if (p.kind != Kind::Text)
            label->setAlignment(Qt::AlignCenter);
        if (p.widthTwips > 0)
            label->setFixedWidth(widthFor(label, tw(p.widthTwips), p.samples));
        layout->addWidget(label, p.widthTwips > 0 ? 0 : 1);
        labels_.push_back(label);
        kinds_.push_back(p.kind);
    }
    // The panels' table widths leave no room for gaps on a narrow window: there they touch.
    int fixed = 2;
    for (const Panel &p : panels)
        fixed += p.widthTwips > 0 ? labels_[size_t(&p - panels.data())]->minimumWidth() : 0;
    const int gaps = int(panels.size()) - 1;
    if (gaps > 0 && std::all_of(panels.cbegin(), panels.cend(), [](const Panel &p) { return p.widthTwips > 0; }))
        layout->setSpacing(std::clamp((width() - fixed) / gaps, 0, 2));
    refreshKeyStates();
    connect(&KeyStateTracker::instance(), &KeyStateTracker::changed, this, &StatusPanels::refreshKeyStates);
}

QLabel *StatusPanels::panel(int index) const
{
    return index >= 1 && index <= int(labels_.size()) ? labels_[size_t(index - 1)] : nullptr;
}

void StatusPanels::setPanelText(int index, const QString &text)
{
    if (QLabel *l = panel(index))
        l->setText(text);
}

QString StatusPanels::panelText(int index) const
{
    QLabel *l = panel(index);
    return l ? l->text() : QString();
}

void StatusPanels::showDateTime(int datePanel)
{
    setPanelText(datePanel, state().TodayText);
    setPanelText(datePanel + 1, state().ClockText);
}

void StatusPanels::refreshKeyStates()
{
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (kinds_[i] == Kind::Caps)
            labels_[i]->setEnabled(platform().capsLockOn());
        else if (kinds_[i] == Kind::Ins)
            labels_[i]->setEnabled(platform().insertModeOn());
    }
}
