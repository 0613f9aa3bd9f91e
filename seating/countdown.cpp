#include "seating/countdown.h"

#include "core/colors.h"
#include "widgets/ui.h"
#include "core/countdownface.h"

#include <QLabel>
#include <QProgressBar>

namespace {
QColor settingColor(const QString &text, const QColor &fallback)
{
    const std::optional<ColorValue> value = colorFromText(text);
    return value ? qcolor(*value) : fallback;
}
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
} // namespace

WAIT::WAIT()
    // A blank: with no title at all the window system would show the program's name.
    : FormDialog(QStringLiteral(" "), 5880, 4530)
{
    setObjectName(QStringLiteral("WAIT"));
    setBackgroundColor(this, Qt::black);
    setCursor(Qt::WaitCursor);

    const auto caption = [this](const char *name, const QString &text, QRect twips, qreal points) {
        return makeLabel(this, {QString::fromLatin1(name), text, twips, Face::PMincho, points, true, Qt::white});
    };
    Label4 = caption("Label4", QStringLiteral("今回は、だれの"), QRect(360, 240, 3855, 555), 27.75);
    Label5 = caption("Label5", QStringLiteral("隣りかなぁ・・・。(*^_^*)"), QRect(360, 960, 5295, 555), 27.75);
    Label6 = caption("Label6", QStringLiteral("＼(^_^)／"), QRect(360, 1800, 2205, 555), 27.75);
    Label7 = caption("Label7", QStringLiteral("わくわく、どきどき・・・。"), QRect(2640, 2070, 2895, 285), 14.25);
    Label1 = caption("Label1", QStringLiteral("結果が出るまであと・・・"), QRect(360, 2850, 2955, 285), 14.25);
    Label3 = caption("Label3", QStringLiteral("秒"), QRect(5310, 3720, 375, 375), 14.25);
    fitWidestFace(Label6);
    Label2 = makeLabel(this, {QStringLiteral("Label2"), QStringLiteral("10"), QRect(3630, 2760, 1590, 1500), Face::PGothic,
                              72, false, Qt::black, Qt::white, true, Qt::AlignCenter});

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twRect(240, 3540, 3045, 495));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &WAIT::Timer1_Timer);
}

void WAIT::Form_Load()
{
    Timer1->setInterval(1000);
    ProgressBar1->setValue(0);
    // Every countdown starts with an empty bar, also after one that was cut short.
    progressStep_ = 0;
    // In the user's colours from the first frame, should activation come late.
    applyColours();
}

void WAIT::applyColours()
{
    const QColor fore = settingColor(state().CountdownForeColor, Qt::white);
    const QColor back = settingColor(state().CountdownBackColor, Qt::black);
    setTextColor(Label1, fore);
    setBackgroundColor(Label2, fore);
    for (QLabel *label : {Label3, Label4, Label5, Label6, Label7})
        setTextColor(label, fore);
    setBackgroundColor(this, back);
    setTextColor(Label2, back);
}

void WAIT::Form_Activate()
{
    Label2->setText(QStringLiteral("10"));
    applyColours();
}

void WAIT::showEvent(QShowEvent *event)
{
    FormDialog::showEvent(event);
    centreOnScreen(this);
}

void WAIT::Timer1_Timer()
{
    const int value = Label2->text().toInt();
    if (value == 0) {
        Timer1->stop();
        unloadSelf();
        return;
    }
    const QString shown = QString::number(value - 1);
    Label2->setText(shown);
    if (const std::optional<QString> face = countdownFace(shown))
        Label6->setText(*face);
    const CountdownProgress progress = advanceCountdown(progressStep_);
    ProgressBar1->setValue(progress.barValue);
    progressStep_ = progress.nextStep;
}
