#include "widgets/ui.h"

#include "core/colors.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

QColor qcolor(ColorValue value)
{
    return QColor(redOf(value), greenOf(value), blueOf(value));
}

QFont makeFont(Face face, qreal pointSize, bool bold)
{
    // The named face first; then what a Windows without it has (Yu, Meiryo); then the
    // metric-close faces of a Linux desktop.
    QStringList families;
    switch (face) {
    case Face::PGothic:
        families = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("Yu Gothic UI"),    QStringLiteral("Meiryo UI"),
                    QStringLiteral("IPAPGothic"),      QStringLiteral("Noto Sans CJK JP")};
        break;
    case Face::PMincho:
        families = {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("Yu Mincho"),
                    QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
        break;
    case Face::UIGothic:
        families = {QStringLiteral("MS UI Gothic"), QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
        break;
    case Face::Gothic:
        families = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans Mono CJK JP")};
        break;
    case Face::TimesNewRoman:
        families = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                    QStringLiteral("IPAPMincho")};
        break;
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    w->setPalette(p);
}

void setBackgroundColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Base, color);
    p.setColor(QPalette::Button, color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel *makeLabel(QWidget *parent, const LabelDef &def)
{
    auto *label = new QLabel(parent);
    setUpLabel(label, def);
    return label;
}

void setUpLabel(QLabel *label, const LabelDef &def)
{
    label->setText(def.text);
    label->setObjectName(def.objectName);
    label->setGeometry(twRect(def.twips.x(), def.twips.y(), def.twips.width(), def.twips.height()));
    label->setFont(makeFont(def.face, def.pointSize, def.bold));
    label->setAlignment(def.alignment);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, def.textColor);
    if (def.background)
        setBackgroundColor(label, *def.background);
    if (def.border) {
        label->setFrameShape(QFrame::Box);
        label->setFrameShadow(QFrame::Plain);
        label->setLineWidth(1);
    }
}

std::array<QPushButton *, 3> makeCommandButtons(QWidget *parent)
{
    static const std::array<QString, 3> captions{QStringLiteral("OK"), QStringLiteral("キャンセル"),
                                                 QStringLiteral("ヘルプ")};
    static constexpr std::array<int, 3> lefts{445, 1855, 3265};
    std::array<QPushButton *, 3> buttons{};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(captions[i], parent);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setGeometry(twRect(lefts[i], 1770, 1300, 300));
        b->setFont(makeFont(Face::UIGothic, 9));
        b->setToolTip(QLatin1Char(' ') + captions[i] + QLatin1Char(' '));
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons[i] = b;
    }
    return buttons;
}

qreal fittingPointSize(QFont font, const QStringList &texts, int room)
{
    const auto widest = [&] {
        int w = 0;
        for (const QString &t : texts)
            w = std::max(w, QFontMetrics(font).horizontalAdvance(t));
        return w;
    };
    while (font.pointSizeF() > 6 && widest() > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font.pointSizeF();
}

void shrinkToFit(QLabel *label)
{
    QFont font = label->font();
    font.setPointSizeF(fittingPointSize(font, {label->text()}, label->width()));
    label->setFont(font);
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(available.center());
    window->move(frame.topLeft());
}

TwoLayerLabel makeTwoLayerLabel(QWidget *parent, const LabelDef &front, const QString &shadowName,
                                const QColor &shadowColor, int offsetTwips)
{
    LabelDef shadow = front;
    shadow.objectName = shadowName;
    shadow.textColor = shadowColor;
    shadow.twips.translate(offsetTwips, offsetTwips);
    QLabel *back = makeLabel(parent, shadow);
    QLabel *top = makeLabel(parent, front);
    // A stand-in for a missing face may run wider than the one the places were measured with.
    shrinkToFit(back);
    shrinkToFit(top);
    return {top, back};
}
