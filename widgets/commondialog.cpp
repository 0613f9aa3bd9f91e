#include "widgets/commondialog.h"

#include "core/chartexport.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>

bool CommonDialog::showOpen(QWidget *owner)
{
    return accept(platform().openFileName(owner, FileDialogRequest{title, filter, fileName}));
}

bool CommonDialog::showSave(QWidget *owner)
{
    return accept(platform().saveFileName(owner, FileDialogRequest{title, filter, fileName}));
}

bool CommonDialog::showColor(QWidget *owner)
{
    const std::optional<ColorValue> chosen = platform().chooseColor(owner, color);
    if (!chosen)
        return false;
    color = *chosen;
    return true;
}

bool CommonDialog::accept(const QString &path)
{
    if (path.isEmpty()) {
        fileName.clear();
        fileTitle.clear();
        return false;
    }
    const QFileInfo info(path);
    fileName = info.absoluteFilePath();
    fileTitle = info.fileName();
    QDir::setCurrent(info.absolutePath());
    return true;
}

QString CommonDialog::chooseCsvFile(QWidget *owner, const QString &dialogTitle, const QString &proposed)
{
    title = dialogTitle;
    filter = QStringLiteral("CSVファイル (*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*");
    fileName = proposed;
    if (!showSave(owner))
        return {};
    QString path = fileName;
    // A name typed without an extension is meant as a CSV file.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && showMessage(owner, replaceFileQuestion(path)) != IDOK)
        return {};
    return path;
}
