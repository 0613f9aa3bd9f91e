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
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

void loadQtTranslationOnDemand()
{
    qApp->installEventFilter(new TranslationOnDemand(qApp));
}
