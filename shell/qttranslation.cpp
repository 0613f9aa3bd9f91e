#include "shell/qttranslation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

class TranslationOnDemand : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(watched);
        // Seen before the widget that makes its context menu (and its texts) on it.
        if (event->type() == QEvent::ContextMenu) {
            ensureQtTranslation();
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void ensureQtTranslation()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    // Windows deployments carry the combined qt_ja.qm beside the program; Linux
    // distributions carry qtbase_ja.qm with Qt.
    auto *translator = new QTranslator(qApp);
    const QLocale japanese(QLocale::Japanese);
    const QStringList folders{QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &folder : folders) {
        for (const QString &name : {QStringLiteral("qt"), QStringLiteral("qtbase")}) {
            if (translator->load(japanese, name, QStringLiteral("_"), folder)) {
                QApplication::installTranslator(translator);
                return;
            }
        }
    }
}

void loadQtTranslationOnDemand()
{
    qApp->installEventFilter(new TranslationOnDemand(qApp));
}
