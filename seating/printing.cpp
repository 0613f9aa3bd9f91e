#include "seating/printing.h"

#include "core/clock.h"
#include "platform/platform.h"
#include "print/printlibrary.h"
#include "seating/noprintlinedialog.h"
#include "seating/resultwindow.h"
#include "widgets/storesetting.h"
#include "widgets/ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>

#include <optional>

namespace
{

// The PDF file proposed when the user prints to a file: dated, beside the saved results.
QString defaultPdfFile()
{
    const QString date = currentDateTime().date().toString(QStringLiteral("yyyyMMdd"));
    return QDir(QDir::currentPath()).filePath(QStringLiteral("ならびん結果-%1.pdf").arg(date));
}

// Qt draws a plain one-pixel frame unevenly at a printer's resolution (thin at the top and
// left, thick at the bottom and right); a style sheet line of the same colours looks the
// same on screen and keeps one width on paper.
QString evenFrameStyle(const QLabel *label)
{
    const QPalette &p = label->palette();
    return QStringLiteral("QLabel { border: %1px solid %2; background-color: %3; color: %4; }")
        .arg(label->lineWidth())
        .arg(p.color(QPalette::WindowText).name(), p.color(QPalette::Window).name(),
             p.color(QPalette::WindowText).name());
}

const QString PrintError = QStringLiteral("印刷エラー");

// The result window printed by the printing library.
class ResultPrintJob final : public ChartPrintJob
{
public:
    explicit ResultPrintJob(ResultWindow &window) : window_(window) {}

    QWidget *window() override { return &window_; }
    QWidget *chart() override { return window_.client(); }

    bool choose(QPrinter &printer, PrintOptions &options) override
    {
        if (!platform().printDialog(&window_, printer, options))
            return false;
        // The choice is kept for the next time only when it could be stored; this chart is printed as chosen.
        SharedState &s = state();
        if (options.fitToPage != s.OptFitToPage &&
            storeSetting(&window_, QStringLiteral("OptFitToPage"),
                         options.fitToPage ? QStringLiteral("1") : QStringLiteral("0")))
            s.OptFitToPage = options.fitToPage;
        window_.fitToPageAction->setChecked(s.OptFitToPage);
        return true;
    }

    void setPrintLook(bool onPaper, bool teacherView) override
    {
        look_.reset();
        if (onPaper)
            look_.emplace(window_, teacherView);
    }

    void report(const QString &text) override { showMessage(&window_, text, MsgStyle::Critical, PrintError); }

private:
    ResultWindow &window_;
    std::optional<PrintLook> look_;
};

} // namespace

PrintLook::PrintLook(ResultWindow &window, bool teacherView)
    : window_(window), clientPalette_(window.client()->palette())
{
    const SharedState &s = state();
    window_.arrangeSeats(teacherView);
    window_.toolbar->hide();
    if (!s.OptPsbar)
        window_.statusPanels->hide();
    setBackgroundColor(window_.client(), Qt::white);
    QList<QWidget *> lettering(window_.seatCaptions.cbegin(), window_.seatCaptions.cend());
    lettering.append(QList<QWidget *>(window_.groupLabels.cbegin(), window_.groupLabels.cend()));
    lettering.append(window_.chartMarks);
    for (QWidget *w : lettering) {
        lettering_.emplace_back(w, w->palette());
        setTextColor(w, Qt::black);
    }
    for (QLabel *label : window_.client()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->frameShape() == QFrame::Box && label->frameShadow() == QFrame::Plain &&
            label->autoFillBackground()) {
            framedLabels_.emplace_back(label, label->styleSheet());
            label->setStyleSheet(evenFrameStyle(label));
        }
    }
    // Rows counted from the front, as the room has them; the front row is always printed.
    const Room &room = window_.room();
    QList<int> groupsShown;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const int row = room.cellOfDesk(desk)->row + 1;
        if (row >= 2 && s.optLine(row)) {
            window_.seatCaptions[desk - 1]->hide();
            window_.seatBoxes[desk - 1]->hide();
        } else if (!groupsShown.contains(room.groupOf(desk))) {
            groupsShown.append(room.groupOf(desk));
        }
    }
    // A 班 with every desk left off leaves no empty frame behind.
    const QList<int> numbers = room.groupNumbers();
    QList<int> groupsLeftOut;
    for (int i = 0; i < window_.groupLabels.size(); ++i) {
        const int number = numbers.value(i);
        if (!groupsShown.contains(number)) {
            groupsLeftOut.append(number);
            window_.groupLabels[i]->hide();
        }
    }
    window_.chartMarks->setLeftOut(groupsLeftOut);
}

PrintLook::~PrintLook()
{
    for (const auto &[label, styleSheet] : framedLabels_)
        label->setStyleSheet(styleSheet);
    window_.client()->setPalette(clientPalette_);
    for (const auto &[widget, palette] : lettering_)
        widget->setPalette(palette);
    for (QWidget *w : window_.seatCaptions + window_.seatBoxes + window_.groupLabels)
        w->show();
    window_.chartMarks->setLeftOut({});
    window_.arrangeSeats(window_.teacherView());
    window_.toolbar->show();
    window_.statusPanels->show();
}

const PrintLibrary *printLibrary(QString *error, QString *file)
{
    const QString name = QStringLiteral(NARABIN_PRINT_LIBRARY);
    QStringList places;
    if (!coreServices().printLibrary.isEmpty()) {
        places << coreServices().printLibrary;
    } else {
        const QDir program(QCoreApplication::applicationDirPath());
        places << program.filePath(name);
#ifdef NARABIN_PRINT_DIR
        places << QDir::cleanPath(program.filePath(QStringLiteral(NARABIN_PRINT_DIR "/") + name));
#endif
    }
    QString reason;
    for (const QString &place : places) {
        if (!QFileInfo(place).isFile())
            continue;
        // Loaded once for the program's life: a library is never unloaded by QLibrary's end.
        QLibrary library(place);
        if (const auto entries = reinterpret_cast<PrintLibraryFunction>(library.resolve(PrintLibrarySymbol))) {
            if (error)
                error->clear();
            if (file)
                *file = place;
            return entries();
        }
        if (reason.isEmpty())
            reason = QStringLiteral("印刷に使うﾌｧｲﾙ「%1」を読み込めませんでした。\r%2\r")
                         .arg(QDir::toNativeSeparators(place), library.errorString());
    }
    if (reason.isEmpty()) {
        QStringList shown;
        for (const QString &place : places)
            shown << QDir::toNativeSeparators(place);
        reason =
            QStringLiteral("印刷に使うﾌｧｲﾙが見つかりません。\r") + shown.join(QLatin1Char('\r')) + QLatin1Char('\r');
    }
    if (error)
        *error = reason + QStringLiteral("ﾌﾟﾛｸﾞﾗﾑを入れ直して下さい。");
    return nullptr;
}

void printResultCommand()
{
    ResultWindow *window = loadedForm<ResultWindow>();
    if (!window)
        return;
    QString error;
    const PrintLibrary *library = printLibrary(&error);
    if (!library) {
        showMessage(window, error, MsgStyle::Critical, PrintError);
        return;
    }
    ResultPrintJob job(*window);
    library->printChart(job, PrintOptions{defaultPdfFile(), state().OptFitToPage, window->teacherView()});
}

void showNoPrintLineDialog()
{
    NonPrintedRowsDialog *dialog = form<NonPrintedRowsDialog>();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
