#include "widgets/commondialog.h"

#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>

bool CommonDialog::ShowOpen(QWidget *owner)
{
    return accept(platform().openFileName(owner, FileDialogRequest{DialogTitle, Filter, FileName}));
}

bool CommonDialog::ShowSave(QWidget *owner)
{
    return accept(platform().saveFileName(owner, FileDialogRequest{DialogTitle, Filter, FileName}));
}

bool CommonDialog::ShowColor(QWidget *owner)
{
    const std::optional<ColorValue> chosen = platform().chooseColor(owner, Color);
    if (!chosen)
        return false;
    Color = *chosen;
    return true;
}

bool CommonDialog::accept(const QString &path)
{
    if (path.isEmpty()) {
        FileName.clear();
        FileTitle.clear();
        return false;
    }
    const QFileInfo info(path);
    FileName = info.absoluteFilePath();
    FileTitle = info.fileName();
    QDir::setCurrent(info.absolutePath());
    return true;
}
