#include "seating/countdown.h"

#include "core/countdowncolours.h"
#include "core/countdownface.h"
#include "widgets/ui.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace
{
// Every face whole within the face label's place, where the system's fonts run wider
// than the ones the layout was drawn with: the face is drawn narrower instead of
// losing its arm or running into the line beside it.
void fitWidestFace(QLabel *face)
{
    const QFontMetrics metrics(face->font());
    int widest = metrics.horizontalAdvance(face->text());
    for (int n = 0; n <= 9; ++n)
        widest = qMax(widest, metrics.horizontalAdvance(countdownFace(QString::number(n)).value_or(QString())));
    if (widest < face->width())
        return;
    QFont narrower = face->font();
    narrower.setStretch(qMax(50, 100 * (face->width() - 2) / widest));
    face->setFont(narrower);
}

// The seconds left, in the box and for a screen reader, which could make nothing of a
// lone number.
void showNumber(QLabel *box, const QString &number)
{
    box->setText(number);
    box->setAccessibleName(QStringLiteral("あと%1秒").arg(number));
}
} // namespace

CountdownWindow::CountdownWindow()
    // A blank: with no title at all the window system would show the program's name.
    : FormDialog(QStringLiteral(" "), 5880, 4530)
{
    setObjectName(QStringLiteral("WAIT"));
    setBackgroundColor(this, Qt::black);
    setCursor(Qt::WaitCursor);
    // The title is a blank; a screen reader names the window all the same.
    setAccessibleName(QStringLiteral("カウントダウン"));

    const auto caption = [this](const char *name, const QString &text, QRect twips, qreal points) {
        return makeLabel(this, {QString::fromLatin1(name), text, twips, Face::PMincho, points, true, Qt::white});
    };
    captions[0] = caption("Label4", QStringLiteral("今回は、だれの"), QRect(360, 240, 3855, 555), 27.75);
    captions[1] = caption("Label5", QStringLiteral("隣りかなぁ・・・。(*^_^*)"), QRect(360, 960, 5295, 555), 27.75);
    face = caption("Label6", QStringLiteral("＼(^_^)／"), QRect(360, 1800, 2205, 555), 27.75);
    captions[2] = caption("Label7", QStringLiteral("わくわく、どきどき・・・。"), QRect(2640, 2070, 2895, 285), 14.25);
    captions[3] = caption("Label1", QStringLiteral("結果が出るまであと・・・"), QRect(360, 2850, 2955, 285), 14.25);
    captions[4] = caption("Label3", QStringLiteral("秒"), QRect(5310, 3720, 375, 375), 14.25);
    fitWidestFace(face);
    // Read out, the face's signs would be noise.
    face->setAccessibleName(QStringLiteral("顔文字"));
    numberBox = makeLabel(this, {QStringLiteral("Label2"), QStringLiteral("10"), QRect(3630, 2760, 1590, 1500),
                                 Face::PGothic, 72, false, Qt::black, Qt::white, true, Qt::AlignCenter});
    showNumber(numberBox, QStringLiteral("10"));

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setGeometry(twRect(240, 3540, 3045, 495));
    progressBar->setRange(0, 100);
    progressBar->setTextVisible(false);
    progressBar->setAccessibleName(QStringLiteral("結果が出るまでの進み具合"));

    ticker = new QTimer(this);
    ticker->setObjectName(QStringLiteral("Timer1"));
    connect(ticker, &QTimer::timeout, this, &CountdownWindow::tick);
}

void CountdownWindow::onLoad()
{
    ticker->setInterval(1000);
    progressBar->setValue(0);
    // Every countdown starts with an empty bar, also after one that was cut short.
    progressStep_ = 0;
    // In the user's colours from the first frame, should activation come late.
    applyColours();
}

void CountdownWindow::applyColours()
{
    const CountdownColours colours = countdownColours(state().CountdownForeColor, state().CountdownBackColor);
    const QColor text = qcolor(colours.text);
    const QColor background = qcolor(colours.background);
    for (QLabel *label : captions)
        setTextColor(label, text);
    setTextColor(face, text);
    // The number box the other way round: the text colour's box, the number in the
    // background's, and a line round it that shows against the background.
    numberBox->setStyleSheet(
        QStringLiteral("QLabel { color: %1; background-color: %2; border: 1px solid %3; }")
            .arg(background.name(), text.name(), qcolor(numberBoxBorder(colours.background)).name()));
    setBackgroundColor(this, background);
}

void CountdownWindow::onActivate()
{
    showNumber(numberBox, QStringLiteral("10"));
    applyColours();
}

void CountdownWindow::showEvent(QShowEvent *event)
{
    FormDialog::showEvent(event);
    if (!isFullScreen())
        centreOnScreen(this);
}

void CountdownWindow::fillScreen(QScreen *screen)
{
    for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        tablePlaces_.push_back({control, control->geometry(), control->font()});
    // The table's size is fixed; a screen is larger.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowModality(Qt::ApplicationModal);
    // Placed there first: a dialog shown where it was never put is centred over its owner.
    if (screen)
        setGeometry(screen->geometry());
    showFullScreen();
    scaleControls();
}

void CountdownWindow::resizeEvent(QResizeEvent *event)
{
    FormDialog::resizeEvent(event);
    scaleControls();
}

void CountdownWindow::scaleControls()
{
    if (tablePlaces_.empty())
        return;
    const QSize table(tw(5880), tw(4530));
    const qreal scale = std::min(width() / qreal(table.width()), height() / qreal(table.height()));
    const QPointF origin((width() - table.width() * scale) / 2, (height() - table.height() * scale) / 2);
    for (const Placed &placed : tablePlaces_) {
        const QRectF r = placed.geometry;
        placed.control->setGeometry(QRectF(origin + r.topLeft() * scale, r.size() * scale).toRect());
        QFont font = placed.font;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * scale);
        else
            font.setPixelSize(qRound(font.pixelSize() * scale));
        placed.control->setFont(font);
    }
}

void CountdownWindow::tick()
{
    const int value = numberBox->text().toInt();
    if (value == 0) {
        ticker->stop();
        unloadSelf();
        return;
    }
    const QString shown = QString::number(value - 1);
    showNumber(numberBox, shown);
    if (const std::optional<QString> newFace = countdownFace(shown))
        face->setText(*newFace);
    const CountdownProgress progress = advanceCountdown(progressStep_);
    progressBar->setValue(progress.barValue);
    progressStep_ = progress.nextStep;
}
