#include "about/versioninfo.h"

#include "core/product.h"
#include "core/versionlinks.h"
#include "platform/platform.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace
{

#ifdef Q_OS_WIN
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

const QColor RestColour = rgb(192, 255, 192);
const QColor HighlightColour = rgb(0, 255, 0);
const QColor Grey = rgb(128, 128, 128);

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QString homePageAddress()
{
    return utf8(product::HomePageSite) + utf8(product::HomePagePath);
}

template <size_t N> bool isIn(const std::array<int, N> &group, int index)
{
    return std::find(group.begin(), group.end(), index) != group.end();
}

// The pointer over the links: a hand, its fingertip the hot spot.
QCursor linkCursor()
{
    const QPixmap hand(QStringLiteral(":/icons/link-pointer.xpm"));
    return hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, 5, 0);
}

} // namespace

VersionWindow::VersionWindow() : FormDialog(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), 5985, 3975)
{
    setObjectName(QStringLiteral("INFO_VER"));
    setBackgroundColor(this, Grey);
    setMouseTracking(true);

    // Created first, so that it comes first in the tab order.
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setToolTip(QStringLiteral(" OK "));
    okButton->setGeometry(twRect(4350, 1530, 1300, 300));
    okButton->setFont(makeFont(Face::UIGothic, 9));
    connect(okButton, &QPushButton::clicked, this, &VersionWindow::buttonClicked);

    makeLettering();
    makeLinks();
    makeFrame();

    icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/narabin-32.png")));
    icon->setGeometry(tw(690), tw(390), 32, 32);

    for (QLabel *label : labels) {
        if (label) {
            label->setMouseTracking(true);
            label->installEventFilter(this);
        }
    }
    okButton->setFocus();

    // Over the window that opened it.
    if (QWidget *opener = QApplication::activeWindow()) {
        QRect frame = frameGeometry();
        frame.moveCenter(opener->frameGeometry().center());
        move(frame.topLeft());
    } else {
        centreOnScreen(this);
    }
}

void VersionWindow::makeLettering()
{
    const QColor yellow = rgb(255, 255, 0);
    const QColor lightYellow = rgb(255, 255, 192);
    struct Row {
        int front, shadow;
        QString text;
        QRect twips;
        Face face;
        qreal pointSize;
        bool bold;
        QColor colour;
        int offset;
    };
    const Row rows[] = {
        {1, 0, QStringLiteral("ならびん"), QRect(1530, 270, 3615, 945), Face::PMincho, 48, true, yellow, 120},
        {3, 2, QStringLiteral("君"), QRect(5190, 930, 285, 285), Face::PMincho, 12, true, yellow, 120},
        {5, 4, utf8(product::PlatformLine), QRect(330, 1350, 3795, 315), Face::TimesNewRoman, 14.25, false, yellow, 90},
        {7, 6, utf8(product::Notice), QRect(330, 1680, 2775, 405), Face::TimesNewRoman, 14.25, false, yellow, 90},
        {9, 8, utf8(product::Author), QRect(3600, 1710, 585, 315), Face::PMincho, 12, false, yellow, 90},
        {18, 19, utf8(product::Version), QRect(420, 900, 1035, 315), Face::TimesNewRoman, 14.25, false, lightYellow,
         90},
    };
    for (const Row &r : rows) {
        const TwoLayerLabel pair = makeTwoLayerLabel(
            this, {QStringLiteral("Label1_%1").arg(r.front), r.text, r.twips, r.face, r.pointSize, r.bold, r.colour},
            QStringLiteral("Label1_%1").arg(r.shadow), Qt::black, r.offset);
        // The fallback faces can be a little larger than the tabled box: grow it
        // rather than cut the lettering off.
        const QSize needed = pair.front->sizeHint();
        for (QLabel *l : {pair.front, pair.shadow})
            l->resize(l->size().expandedTo(needed));
        labels[r.front] = pair.front;
        labels[r.shadow] = pair.shadow;
    }
}

void VersionWindow::makeLinks()
{
    const QString mailTip = QLatin1Char(' ') + utf8(product::MailAddress) + QLatin1Char(' ');
    const QString pageTip = QLatin1Char(' ') + utf8(product::DownloadPage) + QLatin1Char(' ');
    struct Link {
        int index;
        QString text;
        QRect twips;
        const QString &tip;
    };
    const Link links[] = {
        {10, QStringLiteral("E-Mail Address："), QRect(420, 2325, 1635, 255), mailTip},
        {11, utf8(product::MailAddress), QRect(420, 2550, 1995, 255), mailTip},
        {12, QStringLiteral("URL Address："), QRect(420, 2970, 1395, 255), pageTip},
        {13, utf8(product::HomePageSite), QRect(420, 3195, 2895, 255), pageTip},
        {14, utf8(product::HomePagePath), QRect(420, 3420, 1065, 255), pageTip},
    };
    const QCursor pointer = linkCursor();
    for (const Link &l : links) {
        QLabel *label = makeLabel(this, {QStringLiteral("Label1_%1").arg(l.index), l.text, l.twips, Face::PGothic, 9,
                                         false, RestColour, Grey});
        label->setToolTip(l.tip);
        label->setCursor(pointer);
        labels[l.index] = label;
    }
}

void VersionWindow::makeFrame()
{
    struct FrameLine {
        int left, top, width, height;
    };
    static constexpr FrameLine lines[] = {
        {120, 120, 5745, 15}, {120, 3840, 5745, 15}, {120, 120, 15, 3735}, {5850, 120, 15, 3735}, {330, 2205, 5325, 15},
    };
    for (size_t i = 0; i < frameLines.size(); ++i) {
        const FrameLine &l = lines[i];
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line1_%1").arg(i));
        line->setGeometry(tw(l.left), tw(l.top), qMax(1, tw(l.width)), qMax(1, tw(l.height)));
        setBackgroundColor(line, Qt::white);
        frameLines[i] = line;
    }
}

void VersionWindow::buttonClicked()
{
    unloadSelf();
}

void VersionWindow::pointerOverBackground()
{
    colourLinks(false, false);
}

void VersionWindow::pointerOverLabel(int index)
{
    if (isIn(MailLinks, index))
        colourLinks(true, false);
    else if (isIn(HomePageLinks, index))
        colourLinks(false, true);
}

void VersionWindow::labelClicked(int index)
{
    if (isIn(MailLinks, index)) {
        if (!platform().startMail(utf8(product::MailAddress)))
            showMessage(this, linkProgramMissingMessage(LinkProgram::Mail, OnWindows));
    } else if (isIn(HomePageLinks, index)) {
        if (!platform().startBrowser(homePageAddress()))
            showMessage(this, linkProgramMissingMessage(LinkProgram::Browser, OnWindows));
    }
}

void VersionWindow::colourLinks(bool mailLit, bool homePageLit)
{
    for (int i : MailLinks)
        setTextColor(labels[i], mailLit ? HighlightColour : RestColour);
    for (int i : HomePageLinks)
        setTextColor(labels[i], homePageLit ? HighlightColour : RestColour);
}

int VersionWindow::labelIndex(QObject *object) const
{
    const auto it = std::find(labels.begin(), labels.end(), object);
    return it == labels.end() || !object ? -1 : int(it - labels.begin());
}

bool VersionWindow::eventFilter(QObject *watched, QEvent *event)
{
    const int index = labelIndex(watched);
    if (index < 0)
        return FormDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: pointerOverLabel(index); return true;
    case QEvent::MouseButtonRelease: {
        // A click: released over the label it was pressed on.
        auto *release = static_cast<QMouseEvent *>(event);
        if (release->button() == Qt::LeftButton && labels[index]->rect().contains(release->position().toPoint()))
            labelClicked(index);
        return true;
    }
    case QEvent::MouseButtonPress: return true;
    default: return FormDialog::eventFilter(watched, event);
    }
}

void VersionWindow::mouseMoveEvent(QMouseEvent *event)
{
    pointerOverBackground();
    FormDialog::mouseMoveEvent(event);
}

void showVersionInfo()
{
    form<VersionWindow>()->exec();
}
