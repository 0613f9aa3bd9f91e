#pragma once
// What the printing tests share: a result window with a chart, and printed pages read back
// with poppler's tools.
#include "core/settings.h"
#include "core/startup.h"
#include "seating/resultwindow.h"
#include "seatingfixture.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

// Start-up's settings over a store that holds OptLine_2..7 (`lines`, "<none>": not there) and
// OptPsbar, then a result window with a chart: 生徒k in seat k, seat 17 empty.
inline ResultWindow *chartShown(const QStringList &lines, const QString &psbar)
{
    storeBefore(QStringLiteral("OptPsbar"), psbar);
    for (int row = 2; row <= 7; ++row)
        if (lines.at(row - 2) != QLatin1String("<none>"))
            storeBefore(QStringLiteral("OptLine_%1").arg(row), lines.at(row - 2));
    loadStartupSettings(QDir::currentPath());
    ResultWindow *r = form<ResultWindow>();
    QStringList seats = pupils(28);
    seats[16] = QStringLiteral(" ");
    r->setSeatTexts(seats);
    r->show();
    return r;
}

// The words the window's chart prints when `rows` (1..7) are printed: each seat's caption and
// name as the window shows it, the desk and, with the status bar, its instruction (the date
// panels are empty in tests).
inline QStringList chartWords(const ResultWindow *r, const QList<int> &rows, bool statusBar)
{
    QStringList words{QStringLiteral("教"), QStringLiteral("卓")};
    for (const int row : rows) {
        for (int seat = 4 * row - 3; seat <= 4 * row; ++seat)
            words << QStringLiteral("No.%1").arg(seat) << static_cast<NameLabel *>(r->seatBoxes[seat - 1])->shownText();
    }
    if (statusBar)
        words << QStringLiteral("結果に対しては・・・") << QStringLiteral("いつも、(^_^)(^_^)ﾆｺﾆｺ")
              << QStringLiteral("笑顔で了解");
    words.removeIf([](const QString &word) { return word.trimmed().isEmpty(); });
    std::sort(words.begin(), words.end());
    return words;
}

// Prints the chart as the print dialog answers: what the user was told, and a line more when
// the window did not come back to its screen look, bars included.
inline QStringList printChart(TestEnv &env, ResultWindow *r, const PrintAnswer &answer)
{
    const auto screenLook = [r] { return r->client()->grab().toImage(); }; // drawn afresh
    const QImage before = screenLook();
    env.platform.prints.enqueue(answer);
    findAction(r, QStringLiteral("mnuPrint"))->trigger();
    QStringList told = env.platform.messageLog();
    if (screenLook() != before || !r->statusPanels->isVisible() || !r->toolbar->isVisible())
        told.append(QStringLiteral("<screen look not restored>"));
    return told;
}

// A program on the PATH, else in the system's own folders (cupsd is there).
inline QString tool(const char *name)
{
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    return found.isEmpty() ? QStandardPaths::findExecutable(QString::fromLatin1(name), {"/usr/sbin", "/sbin"}) : found;
}

// The printed pages are read back by poppler's tools; without them (a Windows machine) the
// tests that read pages say so and skip. scripts/test counts a skip as a failure.
#define SKIP_WITHOUT_POPPLER()                                                                                         \
    do {                                                                                                               \
        if (tool("pdftoppm").isEmpty() || tool("pdftotext").isEmpty())                                                 \
            QSKIP("pdftoppm and pdftotext (poppler-utils) are missing: the printed pages cannot be read back");        \
    } while (false)

// The words of a PDF's text as poppler's pdftotext reads them, each with its place on its page
// in pixels at 96 dots to the inch; every page's, or one page's.
inline QMultiMap<QString, QRectF> pdfWordPlaces(const QString &pdf, int page = 0)
{
    QStringList arguments{QStringLiteral("-bbox"), pdf, QStringLiteral("-")};
    if (page > 0)
        arguments = QStringList{"-f", QString::number(page), "-l", QString::number(page)} + arguments;
    QProcess p;
    p.start(tool("pdftotext"), arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {{QStringLiteral("<pdftotext failed>"), {}}};
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QMultiMap<QString, QRectF> places;
    for (const QRegularExpressionMatch &m : word.globalMatch(QString::fromUtf8(p.readAllStandardOutput())))
        places.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 96 / 72,
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * 96 / 72));
    return places;
}

// The words alone, sorted.
inline QStringList pdfWords(const QString &pdf, int page = 0)
{
    return pdfWordPlaces(pdf, page).keys();
}

// The pages of a PDF as images at 96 dots to the inch, made by poppler's pdftoppm.
inline QList<QImage> pdfPages(const QString &pdf)
{
    const QFileInfo prefix(pdf + QStringLiteral(".page"));
    QProcess p;
    p.start(tool("pdftoppm"), {"-r", "96", "-png", pdf, prefix.filePath()});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QList<QImage> pages;
    const QDir folder = prefix.absoluteDir();
    for (const QString &f : folder.entryList({prefix.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        pages.append(QImage(folder.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return pages;
}
