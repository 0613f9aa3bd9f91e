#include "mainwin/maincolordialog.h"

#include "core/colors.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"
#include "widgets/storesetting.h"
#include "widgets/ui.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace
{

struct OptionRow {
    QString caption;
    QRect twips;
};

} // namespace

MainColorDialog::MainColorDialog()
    : ButtonRowDialog(QStringLiteral("メイン画面の背景の選択"), "SEL_MCL", QSize(4980, 2190),
                      {QStringLiteral("Label1"), QStringLiteral("メイン画面の背景を選択して、OKボタンを押して下さい。"),
                       QRect(75, 210, 4935, 255), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      39)
{
    // Listed in the order the presets are numbered: option i is preset i + 1.
    const std::array<OptionRow, 3> options{{
        {QStringLiteral("深海"), QRect(1890, 600, 885, 270)},
        {QStringLiteral("夕焼け空"), QRect(1890, 960, 1305, 270)},
        {QStringLiteral("青い空"), QRect(1890, 1320, 1125, 270)},
    }};
    presetGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        const OptionRow &row = options[size_t(i)];
        auto *option = new QRadioButton(row.caption, this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(twRect(row.twips.x(), row.twips.y(), row.twips.width(), row.twips.height()));
        option->setFont(makeFont(Face::PGothic, 11.25));
        setTextColor(option, rgb(255, 255, 128));
        option->setAutoFillBackground(true);
        presetGroup->addButton(option, i);
        presetOptions[size_t(i)] = option;
    }

    addButtonRow();
}

void MainColorDialog::onLoad()
{
    bool numeric = false;
    const int index = state().OptMColor.trimmed().toInt(&numeric) - 1;
    if (numeric && index >= 0 && index < 3) {
        presetOptions[size_t(index)]->setChecked(true);
        presetOptions[size_t(index)]->setFocus();
    } else {
        presetOptions[0]->setFocus();
    }
}

void MainColorDialog::okClicked()
{
    // With no option chosen the last preset is taken.
    const int checked = presetGroup->checkedId();
    const QString number = QString::number(checked >= 0 ? checked + 1 : 3);
    if (!storeSetting(this, QStringLiteral("OptMColor"), number))
        return; // stays open: nothing was changed
    SharedState &s = state();
    if (const auto preset = mainColorPreset(number))
        applyMainColorPreset(s, *preset);
    s.OptMColor = number;
    if (MainWindow *main = loadedForm<MainWindow>())
        main->colourLogo();
    unloadSelf();
}
