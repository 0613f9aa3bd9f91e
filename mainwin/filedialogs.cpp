#include "mainwin/filedialogs.h"

#include "core/filechores.h"
#include "core/sharedstate.h"
#include "platform/platform.h"
#include "widgets/seatbox.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

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
LabelDef fileNameLabel(const char *name, QRect twips)
{
    return {QString::fromLatin1(name), {}, twips, Face::Gothic, 12, false, LightYellow, DarkGrey, true};
}

FileNameDialogLayout copyLayout()
{
    return {"FILESCOPY",
            QStringLiteral("ファイルのコピー"),
            {caption("Label1", QStringLiteral("ｺﾋﾟｰ先のﾌｧｲﾙ名を入力して、OKﾎﾞﾀﾝを押して下さい。"),
                     QRect(120, 210, 5175, 225), Yellow, 11.25),
             caption("Label2", QStringLiteral("コピー元"), QRect(450, 780, 855, 225), LightYellow, 11.25),
             fileNameLabel("Label3", QRect(1350, 735, 3210, 330)),
             caption("Label4", QStringLiteral("コピー先"), QRect(450, 1155, 855, 225), Yellow, 11.25)},
            2,
            QRect(1350, 1110, 3210, 330),
            29};
}

FileNameDialogLayout renameLayout()
{
    // Labels without a face of their own take the dialog's, MS UI Gothic 9 pt.
    return {"RENAME",
            QStringLiteral("ファイル名の変更"),
            {caption("Label1", QStringLiteral("新しいﾌｧｲﾙ名を入力して、OKﾎﾞﾀﾝを押して下さい。"),
                     QRect(240, 210, 4665, 255), Yellow, 11.25),
             fileNameLabel("Label2", QRect(1575, 735, 2985, 330)),
             caption("Label3", QStringLiteral("元の名前"), QRect(450, 780, 855, 285), LightYellow, 9),
             caption("Label4", QStringLiteral("新しい名前"), QRect(450, 1155, 1035, 255), Yellow, 9)},
            1,
            QRect(1575, 1100, 2985, 330),
            30};
}

QString bareName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

FileNameDialog::FileNameDialog(const FileNameDialogLayout &layout)
    : ButtonRowDialog(layout.caption, layout.objectName, QSize(ClientWidthTwips, ClientHeightTwips), layout.labels[0],
                      layout.helpContext)
{
    labels[0] = instruction;
    for (size_t i = 1; i < labels.size(); ++i)
        labels[i] = makeLabel(this, layout.labels[i]);
    sourceName = labels[size_t(layout.sourceNameLabel)];

    // Created before the buttons, so the tab order is the name box, OK, キャンセル, ヘルプ.
    nameBox = new QLineEdit(this);
    nameBox->setObjectName(QStringLiteral("Text1"));
    const QRect &t = layout.nameBoxTwips;
    nameBox->setGeometry(twRect(t.x(), t.y(), t.width(), t.height()));
    nameBox->setFont(makeFont(Face::Gothic, 12));
    setBackgroundColor(nameBox, DarkGrey);
    setTextColor(nameBox, Yellow);
    keepSingleLine(nameBox);
    // For a screen reader: the box is called by the caption beside it (the last label),
    // the chosen file's name is told by the other caption.
    nameBox->setAccessibleName(labels[3]->text());
    for (size_t i = 1; i < 3; ++i) {
        if (labels[i] != sourceName)
            sourceName->setAccessibleDescription(labels[i]->text());
    }
    addButtonRow();
    nameBox->setFocus();
}

void FileNameDialog::reportFailure(const QString &text, const QString &title)
{
    showMessage(this, text, MsgStyle::Exclamation, title);
    nameBox->setFocus();
    nameBox->selectAll();
}

FileCopyDialog::FileCopyDialog() : FileNameDialog(copyLayout()) {}

void FileCopyDialog::okClicked()
{
    const QString destination = nameBox->text();
    if (destination.isEmpty()) {
        showMessage(this, QStringLiteral("コピー先が入力されていません。"), MsgStyle::Information,
                    QStringLiteral("入力確認"));
        return;
    }
    const QString source = state().RosterFileName;
    if (const QString reason = copyFileTo(source, destination); !reason.isEmpty()) {
        reportFailure(QStringLiteral("「%1」を「%2」にコピーできませんでした。\r").arg(bareName(source), destination) +
                          reason,
                      QStringLiteral("コピー失敗"));
        return;
    }
    showMessage(this, QStringLiteral("ファイルをコピーしました。"), MsgStyle::Information, QStringLiteral("複写確認"));
    unloadSelf();
}

RenameDialog::RenameDialog() : FileNameDialog(renameLayout()) {}

void RenameDialog::okClicked()
{
    const QString destination = nameBox->text();
    if (destination.isEmpty()) {
        showMessage(this, QStringLiteral("新しい名前が入力されていません。"), MsgStyle::Information,
                    QStringLiteral("ﾌｧｲﾙ名入力確認"));
        nameBox->setFocus();
        return;
    }
    const QString source = state().RenameSourceFile;
    if (const QString reason = renameFileTo(source, destination); !reason.isEmpty()) {
        reportFailure(
            QStringLiteral("「%1」の名前を「%2」に変更できませんでした。\r").arg(bareName(source), destination) +
                reason,
            QStringLiteral("変更失敗"));
        return;
    }
    if (QFileInfo(state().ClassRosterPath) == QFileInfo(source))
        state().ClassRosterPath = QFileInfo(destination).absoluteFilePath();
    showMessage(this, QStringLiteral("ファイル名を変更しました。"), MsgStyle::Information, QStringLiteral("変更確認"));
    unloadSelf();
}
