#include "widgets/commondialog.h"

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
