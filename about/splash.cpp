#include "about/splash.h"

#include "core/product.h"
#include "widgets/ui.h"

#include <QFrame>
#include <QLabel>

namespace
{
struct FrameLine {
    const char *name;
    int left, top, width, height;
};
} // namespace

SplashScreen::SplashScreen() : FormDialog(QString(), 8235, 3555)
{
    setObjectName(QStringLiteral("INITDISP"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setBackgroundColor(this, rgb(128, 128, 128));

    const QColor yellow = rgb(255, 255, 0);
    const QColor black = Qt::black;
    struct Row {
        const char *front;
        const char *shadow;
        QString text;
        QRect twips;
        Face face;
        qreal pointSize;
        bool bold;
    };
    const Row rows[] = {
        {"Label1_1", "Label1_0", QStringLiteral("ならびん"), QRect(1080, 240, 5415, 1335), Face::PMincho, 72, true},
        {"Label1_3", "Label1_2", QStringLiteral("君"), QRect(6480, 1140, 495, 495), Face::PMincho, 20.25, true},
        {"Label1_5", "Label1_4", QString::fromUtf8(product::PlatformLine), QRect(1080, 1740, 6255, 495),
         Face::TimesNewRoman, 20.25, false},
        {"Label1_7", "Label1_6", QString::fromUtf8(product::Version), QRect(1080, 2400, 1500, 405), Face::TimesNewRoman,
         14.25, false},
        {"Label1_9", "Label1_8", QString::fromUtf8(product::Notice), QRect(2760, 2400, 2895, 405), Face::TimesNewRoman,
         14.25, false},
        {"Label1_11", "Label1_10", QString::fromUtf8(product::Author), QRect(5760, 2430, 735, 375), Face::PMincho, 12,
         true},
    };
    for (const Row &r : rows)
        makeTwoLayerLabel(this, {QString::fromLatin1(r.front), r.text, r.twips, r.face, r.pointSize, r.bold, yellow},
                          QString::fromLatin1(r.shadow), black, 120);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/narabin-32.png")));
    icon->setGeometry(tw(360), tw(360), 32, 32);

    // Five light grey lines frame the lettering.
    const FrameLine lines[] = {{"Line1_0", 120, 120, 7995, 15},
                               {"Line1_1", 120, 3420, 7995, 15},
                               {"Line1_2", 120, 120, 15, 3315},
                               {"Line1_3", 8100, 120, 15, 3315},
                               {"Line1_4", 1080, 2280, 6255, 15}};
    for (const FrameLine &l : lines) {
        auto *line = new QFrame(this);
        line->setObjectName(QString::fromLatin1(l.name));
        line->setGeometry(tw(l.left), tw(l.top), qMax(1, tw(l.width)), qMax(1, tw(l.height)));
        setBackgroundColor(line, rgb(224, 224, 224));
    }

    closeTimer = new QTimer(this);
    closeTimer->setObjectName(QStringLiteral("Timer1"));
    closeTimer->setInterval(6000);
    closeTimer->setSingleShot(true);
    connect(closeTimer, &QTimer::timeout, this, &SplashScreen::timedOut);
    closeTimer->start();
    centreOnScreen(this);
}

void SplashScreen::timedOut()
{
    unloadSelf();
}
