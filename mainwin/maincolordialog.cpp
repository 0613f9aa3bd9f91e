#include "mainwin/maincolordialog.h"

#include "core/colors.h"
#include "widgets/ui.h"
#include "widgets/storesetting.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

struct OptionRow {
    QString caption;
    QRect twips;
};

} // namespace

SEL_MCL::SEL_MCL()
    : FormDialog(QStringLiteral("メイン画面の背景の選択"), 4980, 2190)
{
    setObjectName(QStringLiteral("SEL_MCL"));
    const QColor grey = rgb(128, 128, 128);
    setBackgroundColor(this, grey);

    Label1 = makeLabel(this, {QStringLiteral("Label1"), QStringLiteral("メイン画面の背景を選択して、OKボタンを押して下さい。"),
                              QRect(75, 210, 4935, 255), Face::UIGothic, 11.25, false, rgb(255, 255, 0)});
    shrinkToFit(Label1);

    // Listed in the order the presets are numbered: option i is preset i + 1.
    const std::array<OptionRow, 3> options{{
        {QStringLiteral("深海"), QRect(1890, 600, 885, 270)},
        {QStringLiteral("夕焼け空"), QRect(1890, 960, 1305, 270)},
        {QStringLiteral("青い空"), QRect(1890, 1320, 1125, 270)},
    }};
    Option1Group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        const OptionRow &row = options[size_t(i)];
        auto *option = new QRadioButton(row.caption, this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(twRect(row.twips.x(), row.twips.y(), row.twips.width(), row.twips.height()));
        option->setFont(makeFont(Face::PGothic, 11.25));
        setTextColor(option, rgb(255, 255, 128));
        option->setAutoFillBackground(true);
        Option1Group->addButton(option, i);
        Option1[size_t(i)] = option;
    }

    Command1 = makeCommandButtons(this);
    for (int i = 0; i < 3; ++i)
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
}

void SEL_MCL::Form_Load()
{
    bool numeric = false;
    const int index = state().OptMColor.trimmed().toInt(&numeric) - 1;
    if (numeric && index >= 0 && index < 3) {
        Option1[size_t(index)]->setChecked(true);
        Option1[size_t(index)]->setFocus();
    } else {
        Option1[0]->setFocus();
    }
}

void SEL_MCL::Command1_Click(int index)
{
    switch (index) {
    case 0: applySelectedPreset(); break;
    case 1: unloadSelf(); break;
    case 2: callHelp(this, HELP_CONTEXT, 39); break;
    default: break;
    }
}

void SEL_MCL::applySelectedPreset()
{
    // With no option chosen the last preset is taken.
    const int checked = Option1Group->checkedId();
    const QString number = QString::number(checked >= 0 ? checked + 1 : 3);
    if (!storeSetting(this, QStringLiteral("OptMColor"), number))
        return; // stays open: nothing was changed
    SharedState &s = state();
    if (const auto preset = mainColorPreset(number))
        applyMainColorPreset(s, *preset);
    s.OptMColor = number;
    if (NARABIN *main = loadedForm<NARABIN>())
        main->colourLogo();
    unloadSelf();
}
