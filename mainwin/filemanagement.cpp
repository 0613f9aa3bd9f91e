#include "mainwin/filemanagement.h"

#include "core/backupmedia.h"
#include "core/filechores.h"
#include "core/resultlog.h"
#include "core/sharedstate.h"
#include "mainwin/filedialogs.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace
{

const QString RosterOpenTitle = QStringLiteral("名簿を開く");

// Shows the main window's file dialog with `title`; the chosen file's full path, or
// the empty string when the user cancelled.
QString chooseFile(MainWindow *main, const QString &title)
{
    CommonDialog &dialog = main->fileDialog;
    dialog.title = title;
    return dialog.showOpen(main) ? dialog.fileName : QString();
}

// Drops the entries of deleted files from the log of the deleted file's folder.
void cleanLogAfterDeletion(MainWindow *main, const QString &folder)
{
    const LogCleaning cleaning = cleanFolderResultLog(folder);
    if (cleaning.error.isEmpty())
        return;
    showMessage(main,
                QStringLiteral("過去ログ「%1」を整理できませんでした。ログは元のままです。\r")
                        .arg(QDir::toNativeSeparators(resultLogPath(folder))) +
                    cleaning.error,
                MsgStyle::Exclamation, QStringLiteral("過去ログの整理"));
}

void deleteChosenFile(MainWindow *main, const QString &path)
{
    if (showMessage(main, QStringLiteral("指定されたﾌｧｲﾙを削除します。よろしいですか？"),
                    MsgStyle::OkCancel | MsgStyle::Question, QStringLiteral("削除確認")) != IDOK)
        return;
    if (const QString reason = deleteFileAt(path); !reason.isEmpty()) {
        showMessage(main, QStringLiteral("「%1」を削除できませんでした。\r").arg(QFileInfo(path).fileName()) + reason,
                    MsgStyle::Exclamation, QStringLiteral("削除失敗"));
        return;
    }
    showMessage(main, QStringLiteral("指定されたﾌｧｲﾙを削除しました。"), MsgStyle::Information,
                QStringLiteral("削除情報"));
    cleanLogAfterDeletion(main, QFileInfo(path).absolutePath());
}

// The medium the backup goes to: the one there is now (drive A: or a USB stick), chosen
// from a list when there are several. None when the teacher gave up.
std::optional<BackupMedium> chooseBackupTarget(MainWindow *main, BackupTarget kind,
                                               const std::function<bool(const MessageText &)> &ask)
{
    QList<BackupMedium> media = availableBackupMedia();
    while (media.isEmpty()) {
        if (!ask(backupMissingQuestion(kind)))
            return std::nullopt;
        media = availableBackupMedia();
    }
    if (media.size() == 1)
        return media.constFirst();
    QStringList captions;
    for (const BackupMedium &medium : media)
        captions.append(backupMediumCaption(medium));
    const int chosen =
        platform().chooseFromList(main, QStringLiteral("バックアップ先の選択"),
                                  QStringLiteral("バックアップ先のUSBメモリーを選んで下さい。"), captions);
    if (chosen < 0)
        return std::nullopt;
    return media.at(chosen);
}

// Copies the planned rosters one by one; a failed one is retried, skipped or ends the copying.
BackupOutcome copyPlannedRosters(MainWindow *main, const QString &folder, BackupMedium &medium, const BackupPlan &plan)
{
    BackupOutcome outcome;
    outcome.sourceFolder = folder;
    outcome.targetFolder = medium.path;
    outcome.found = plan.found;
    for (const RefusedNames &refused : plan.refused)
        outcome.notCopied += refused.names;
    for (qsizetype i = 0; i < plan.rosters.size(); ++i) {
        const QString &name = plan.rosters.at(i);
        int answer = IDRETRY;
        QString reason = backupRoster(folder, medium, name);
        while (!reason.isEmpty() && answer == IDRETRY) {
            answer = showMessage(main, backupFailedQuestion(name, reason));
            if (answer == IDRETRY)
                reason = backupRoster(folder, medium, name);
        }
        if (reason.isEmpty()) {
            ++outcome.copied;
        } else if (answer == IDIGNORE) {
            outcome.notCopied.append(name);
        } else {
            outcome.stopped = true;
            outcome.notCopied += plan.rosters.mid(i);
            break;
        }
    }
    return outcome;
}

} // namespace

void fileCopyCommand()
{
    MainWindow *main = form<MainWindow>();
    CommonDialog &dialog = main->fileDialog;
    SharedState &s = state();
    dialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*");
    const QString chosen = chooseFile(main, QStringLiteral("コピーするﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RosterFileName = chosen;
        FileCopyDialog *copy = form<FileCopyDialog>();
        copy->sourceName->setText(dialog.fileTitle);
        copy->exec();
        unload<FileCopyDialog>();
    }
    dialog.title = QStringLiteral("名簿ﾌｧｲﾙを開く");
    dialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
    dialog.fileName.clear();
    s.RosterFileName.clear();
}

void fileRenameCommand()
{
    MainWindow *main = form<MainWindow>();
    CommonDialog &dialog = main->fileDialog;
    SharedState &s = state();
    const QString chosen = chooseFile(main, QStringLiteral("名前を変更するﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RenameSourceFile = chosen;
        RenameDialog *rename = form<RenameDialog>();
        rename->sourceName->setText(dialog.fileTitle);
        rename->exec();
        unload<RenameDialog>();
    }
    dialog.fileName.clear();
    dialog.title = RosterOpenTitle;
    s.RenameSourceFile.clear();
}

void fileDeleteCommand()
{
    MainWindow *main = form<MainWindow>();
    CommonDialog &dialog = main->fileDialog;
    SharedState &s = state();
    const QString chosen = chooseFile(main, QStringLiteral("削除するﾌｧｲﾙを選択"));
    if (!chosen.isEmpty()) {
        s.RosterFileName = chosen;
        deleteChosenFile(main, chosen);
    }
    dialog.fileName.clear();
    dialog.title = RosterOpenTitle;
    s.RosterFileName.clear();
}

void backupCommand()
{
    MainWindow *main = form<MainWindow>();
    const BackupTarget kind = backupTargetOfThisSystem();
    const auto ask = [main](const MessageText &question) { return showMessage(main, question) == IDOK; };
    // The rosters come from the current folder, which the last confirmed file dialog chose.
    const QString folder = QDir::currentPath();
    const RosterFilesFound found = findRosterFiles(folder);
    if (!found.ok || found.names.isEmpty()) {
        showMessage(main, backupNothingMessage(folder, found.error));
        return;
    }
    if (!ask(backupPrepareQuestion(kind, folder, int(found.names.size()))))
        return;
    std::optional<BackupMedium> medium = chooseBackupTarget(main, kind, ask);
    if (!medium)
        return;
    const BackupPlan plan = planBackup(folder, *medium);
    if (!plan.error.isEmpty() || plan.found == 0) {
        showMessage(main, backupNothingMessage(folder, plan.error));
        return;
    }
    if (plan.sourceOnMedium) {
        showMessage(main, backupOntoItselfMessage(kind, folder));
        return;
    }
    if (!plan.refused.isEmpty() && (!ask(backupRefusedQuestion(kind, plan)) || plan.rosters.isEmpty()))
        return;
    showMessage(main, backupDoneMessage(copyPlannedRosters(main, folder, *medium, plan)));
}
