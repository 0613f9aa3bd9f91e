#include "mainwin/filemanagement.h"

#include "core/resultlog.h"
#include "core/sharedstate.h"
#include "core/filechores.h"
#include "mainwin/filedialogs.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

const QString RosterOpenTitle = QStringLiteral("名簿を開く");

// Shows the main window's file dialog with `title`; the chosen file's full path, or
// the empty string when the user cancelled.
QString chooseFile(NARABIN *main, const QString &title)
{
    CommonDialog &dialog = main->CommonDialog1;
    dialog.DialogTitle = title;
    return dialog.ShowOpen(main) ? dialog.FileName : QString();
}

// Drops the entries of deleted files from the log of the deleted file's folder.
void cleanLogAfterDeletion(NARABIN *main, const QString &folder)
{
    const LogCleaning cleaning = cleanFolderResultLog(folder);
    if (cleaning.error.isEmpty())
        return;
    MsgBox(main,
           QStringLiteral("過去ログ「%1」を整理できませんでした。ログは元のままです。\r")
                   .arg(QDir::toNativeSeparators(resultLogPath(folder))) +
               cleaning.error,
           MsgStyle::Exclamation, QStringLiteral("過去ログの整理"));
}

void deleteChosenFile(NARABIN *main, const QString &path)
{
    if (MsgBox(main, QStringLiteral("指定されたﾌｧｲﾙを削除します。よろしいですか？"), MsgStyle::OkCancel | MsgStyle::Question,
               QStringLiteral("削除確認")) != IDOK)
        return;
    if (const QString reason = deleteFileAt(path); !reason.isEmpty()) {
        MsgBox(main, QStringLiteral("「%1」を削除できませんでした。\r").arg(QFileInfo(path).fileName()) + reason,
               MsgStyle::Exclamation, QStringLiteral("削除失敗"));
        return;
    }
    MsgBox(main, QStringLiteral("指定されたﾌｧｲﾙを削除しました。"), MsgStyle::Information, QStringLiteral("削除情報"));
    cleanLogAfterDeletion(main, QFileInfo(path).absolutePath());
}

bool askForDisk(NARABIN *main, const QString &text)
{
    return MsgBox(main, text, MsgStyle::OkCancel | MsgStyle::Question, QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ準備")) == IDOK;
}

} // namespace

void fileCopyCommand()
{
    NARABIN *main = form<NARABIN>();
    CommonDialog &dialog = main->CommonDialog1;
    SharedState &s = state();
    dialog.Filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*");
    const QString chosen = chooseFile(main, QStringLiteral("コピーするﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RosterFileName = chosen;
        FILESCOPY *copy = form<FILESCOPY>();
        copy->Label3->setText(dialog.FileTitle);
        copy->exec();
        unload<FILESCOPY>();
    }
    dialog.DialogTitle = QStringLiteral("名簿ﾌｧｲﾙを開く");
    dialog.Filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
    dialog.FileName.clear();
    s.RosterFileName.clear();
}

void fileRenameCommand()
{
    NARABIN *main = form<NARABIN>();
    CommonDialog &dialog = main->CommonDialog1;
    SharedState &s = state();
    const QString chosen = chooseFile(main, QStringLiteral("名前を変更するﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RenameSourceFile = chosen;
        RENAME *rename = form<RENAME>();
        rename->Label2->setText(dialog.FileTitle);
        rename->exec();
        unload<RENAME>();
    }
    dialog.FileName.clear();
    dialog.DialogTitle = RosterOpenTitle;
    s.RenameSourceFile.clear();
}

void fileDeleteCommand()
{
    NARABIN *main = form<NARABIN>();
    CommonDialog &dialog = main->CommonDialog1;
    SharedState &s = state();
    const QString chosen = chooseFile(main, QStringLiteral("削除するﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RosterFileName = chosen;
        deleteChosenFile(main, chosen);
    }
    dialog.FileName.clear();
    dialog.DialogTitle = RosterOpenTitle;
    s.RosterFileName.clear();
}

void backupCommand()
{
    NARABIN *main = form<NARABIN>();
    const QString prepare = QStringLiteral("データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。");
    if (!askForDisk(main, prepare))
        return;
    const QString missing =
            QStringLiteral("ドライブＡにフロッピーディスクがセットされていません。\r処理を続ける場合はフロッピーディスクをセットして下さい。");
    const bool done = backupRosterFiles(QDir::currentPath(), backupFolder(),
                                        [main, &missing](const QString &) { return askForDisk(main, missing); });
    if (done)
        MsgBox(main, QStringLiteral("バックアップを終了しました。"), MsgStyle::Information, QStringLiteral("終了確認"));
}
