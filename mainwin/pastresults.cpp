#include "mainwin/pastresults.h"

#include "core/resultfile.h"
#include "core/textfile.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"
#include "widgets/navigator.h"

#include <QDir>

namespace
{
void reportNotFound(QWidget *owner)
{
    showMessage(owner, QStringLiteral("指定したﾌｧｲﾙがありません。存在を確認して下さい。"), MsgStyle::Critical,
                QStringLiteral("ﾌｧｲﾙの存在確認"));
}

// The file name a past-log item stands for; none for the separator or an unknown item.
std::optional<QString> pastLogEntry(MainWindow *main, int index)
{
    if (index < 1 || !main)
        return std::nullopt;
    const auto it = main->pastResultItems.find(index);
    if (it == main->pastResultItems.end())
        return std::nullopt;
    return it->second->data().toString();
}
} // namespace

void previousResultCommand()
{
    navigator().closeMainWindow();
    const ClassModel &open = state().openClass;
    navigator().showChart(open.room, chartTexts(open.chart));
}

void pastResultCommand(int index)
{
    MainWindow *main = loadedForm<MainWindow>();
    const std::optional<QString> entry = pastLogEntry(main, index);
    if (!entry || entry->isEmpty()) {
        reportNotFound(main);
        return;
    }
    const QString path = findFileNoCase(QDir::currentPath(), *entry);
    const ResultFileRead read = path.isEmpty() ? ResultFileRead{} : readResultFile(path);
    if (!read.ok) {
        reportNotFound(main);
        return;
    }
    // The names as the file holds them ("07" stays "07"), in the file's own room, whatever room
    // the class has now; seats the file leaves out stay empty rather than keep a name from the
    // chart shown before.
    navigator().showChart(read.room, read.seats);
}
