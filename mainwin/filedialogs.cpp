#include "mainwin/filedialogs.h"

#include "widgets/seatbox.h"
#include "core/sharedstate.h"
#include "core/filechores.h"
#include "platform/platform.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor Grey = rgb(128, 128, 128);
const QColor DarkGrey = rgb(64, 64, 64);
const QColor Yellow = rgb(255, 255, 0);
const QColor LightYellow = rgb(255, 255, 128);

// Client area shared by both dialogs, in twips.
constexpr int ClientWidthTwips = 5010;
constexpr int ClientHeightTwips = 2220;

LabelDef caption(const char *name, const QString &text, QRect twips, const QColor &color, qreal pointSize)
{
    return {QString::fromLatin1(name), text, twips, Face::UIGothic, pointSize, false, color};
}

// The box showing the chosen file's name.
LabelDef nameBox(const char *name, QRect twips)
{
    return {QString::fromLatin1(name), {}, twips, Face::Gothic, 12, false, LightYellow, DarkGrey, true};
}

FileNameDialogLayout copyLayout()
{
    return {QStringLiteral("FILESCOPY"),
            QStringLiteral("ファイルのコピー"),
            {caption("Label1", QStringLiteral("ｺﾋﾟｰ先のﾌｧｲﾙ名を入力して、OKﾎﾞﾀﾝを押して下さい。"),
                     QRect(120, 210, 5175, 225), Yellow, 11.25),
             caption("Label2", QStringLiteral("コピー元"), QRect(450, 780, 855, 225), LightYellow, 11.25),
             nameBox("Label3", QRect(1350, 735, 3210, 330)),
             caption("Label4", QStringLiteral("コピー先"), QRect(450, 1155, 855, 225), Yellow, 11.25)},
            QRect(1350, 1110, 3210, 330),
            29};
}

FileNameDialogLayout renameLayout()
{
    // Labels without a face of their own take the dialog's, MS UI Gothic 9 pt.
    return {QStringLiteral("RENAME"),
            QStringLiteral("ファイル名の変更"),
            {caption("Label1", QStringLiteral("新しいﾌｧｲﾙ名を入力して、OKﾎﾞﾀﾝを押して下さい。"),
                     QRect(240, 210, 4665, 255), Yellow, 11.25),
             nameBox("Label2", QRect(1575, 735, 2985, 330)),
             caption("Label3", QStringLiteral("元の名前"), QRect(450, 780, 855, 285), LightYellow, 9),
             caption("Label4", QStringLiteral("新しい名前"), QRect(450, 1155, 1035, 255), Yellow, 9)},
            QRect(1575, 1100, 2985, 330),
            30};
}

QString bareName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

FileNameDialog::FileNameDialog(const FileNameDialogLayout &layout)
    : FormDialog(layout.caption, ClientWidthTwips, ClientHeightTwips), helpContext_(layout.helpContext)
{
    setObjectName(layout.objectName);
    setBackgroundColor(this, Grey);
    std::array<QLabel *, 4> labels{};
    for (size_t i = 0; i < labels.size(); ++i)
        labels[i] = makeLabel(this, layout.labels[i]);
    Label1 = labels[0], Label2 = labels[1], Label3 = labels[2], Label4 = labels[3];

    // Created before the buttons, so the tab order is Text1, OK, キャンセル, ヘルプ.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    const QRect &t = layout.textTwips;
    Text1->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
    Text1->setFont(makeFont(Face::Gothic, 12));
    setBackgroundColor(Text1, DarkGrey);
    setTextColor(Text1, Yellow);
    keepSingleLine(Text1);

    Command1 = makeCommandButtons(this);
    for (int i = 0; i < int(Command1.size()); ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    Text1->setFocus();
}

void FileNameDialog::Command1_Click(int index)
{
    switch (index) {
    case 0: okClicked(); break;
    case 1: unloadSelf(); break;
    case 2: callHelp(this, HELP_CONTEXT, helpContext_); break;
    default: break;
    }
}

void FileNameDialog::reportFailure(const QString &text, const QString &title)
{
    MsgBox(this, text, MsgStyle::Exclamation, title);
    Text1->setFocus();
    Text1->selectAll();
}

FILESCOPY::FILESCOPY()
    : FileNameDialog(copyLayout())
{
}

void FILESCOPY::okClicked()
{
    const QString destination = Text1->text();
    if (destination.isEmpty()) {
        MsgBox(this, QStringLiteral("コピー先が入力されていません。"), MsgStyle::Information, QStringLiteral("入力確認"));
        return;
    }
    const QString source = state().RosterFileName;
    if (const QString reason = copyFileTo(source, destination); !reason.isEmpty()) {
        reportFailure(QStringLiteral("「%1」を「%2」にコピーできませんでした。\r").arg(bareName(source), destination) + reason,
                      QStringLiteral("コピー失敗"));
        return;
    }
    MsgBox(this, QStringLiteral("ファイルをコピーしました。"), MsgStyle::Information, QStringLiteral("複写確認"));
    unloadSelf();
}

RENAME::RENAME()
    : FileNameDialog(renameLayout())
{
}

void RENAME::okClicked()
{
    const QString destination = Text1->text();
    if (destination.isEmpty()) {
        MsgBox(this, QStringLiteral("新しい名前が入力されていません。"), MsgStyle::Information,
               QStringLiteral("ﾌｧｲﾙ名入力確認"));
        Text1->setFocus();
        return;
    }
    const QString source = state().RenameSourceFile;
    if (const QString reason = renameFileTo(source, destination); !reason.isEmpty()) {
        reportFailure(QStringLiteral("「%1」の名前を「%2」に変更できませんでした。\r").arg(bareName(source), destination) + reason,
                      QStringLiteral("変更失敗"));
        return;
    }
    MsgBox(this, QStringLiteral("ファイル名を変更しました。"), MsgStyle::Information, QStringLiteral("変更確認"));
    unloadSelf();
}
