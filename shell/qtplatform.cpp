#include "shell/qtplatform.h"

#include "shell/qttranslation.h"

#include "core/colors.h"
#include "core/windowslinks.h"
#include "widgets/keystate.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <imm.h>
#include <shellapi.h>
#include <windows.h>

#include <string>
#endif

namespace
{

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case MsgStyle::Critical: return QMessageBox::Critical;
    case MsgStyle::Question: return QMessageBox::Question;
    case MsgStyle::Exclamation: return QMessageBox::Warning;
    case MsgStyle::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Qt's print dialog showing only what applies to a one-page chart, every copy printed as a
// page of its own: no page range (whose pages row Qt leaves in English), no page order and
// no printing on both sides. Qt sets what it shows each time the dialog is shown.
class ChartPrintDialog : public QPrintDialog
{
public:
    ChartPrintDialog(QPrinter &printer, QWidget *owner) : QPrintDialog(&printer, owner) {}

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        for (const char *name : {"gbPrintRange", "reverse", "duplex"}) {
            if (QWidget *w = findChild<QWidget *>(QLatin1String(name)))
                w->hide();
        }
    }
};

QString runFileDialog(QWidget *owner, const FileDialogRequest &request, QFileDialog::AcceptMode mode)
{
    ensureQtTranslation();
    NameOnlyIconProvider iconProvider; // outlives the dialog that uses it
    const bool opening = mode == QFileDialog::AcceptOpen;
    QFileDialog dialog(owner, request.title.isEmpty()
                                  ? (opening ? QStringLiteral("開く") : QStringLiteral("名前を付けて保存"))
                                  : request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(opening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // Qt's own dialog, so that the filters match names without regard to case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(&iconProvider);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilters(qtNameFilters(request.filter));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    else
        dialog.setDirectory(QDir::currentPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo &info) const
{
    if (info.isRoot())
        return QFileIconProvider::icon(Drive);
    return QFileIconProvider::icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo &info) const
{
    if (info.isDir())
        return QStringLiteral("フォルダー");
    const QMimeType mime = mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    // Without the system's MIME data a type has no comment either.
    if (mime.isValid() && !mime.isDefault() && !mime.comment().isEmpty())
        return mime.comment();
    return info.suffix().isEmpty() ? QStringLiteral("ファイル") : info.suffix().toUpper() + QStringLiteral(" ファイル");
}

QStringList qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the label's last parentheses.
        if (!label.endsWith(QLatin1Char(')')) || !label.contains(QLatin1Char('(')))
            label += QStringLiteral(" (") + patterns + QLatin1Char(')');
        filters.append(label);
    }
    return filters;
}

QString displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int QtPlatform::messageBox(QWidget *owner, const QString &text, const QString &title, int style)
{
    QMessageBox box(iconFor(style), title, displayText(text), QMessageBox::NoButton, owner);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = nullptr;
    if ((style & 0x0F) == MsgStyle::OkCancel)
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel && (style & MsgStyle::DefaultButton2) ? cancel : ok);
    box.setEscapeButton(cancel ? cancel : ok);
    box.exec();
    return box.clickedButton() == cancel && cancel ? IDCANCEL : IDOK;
}

QString QtPlatform::openFileName(QWidget *owner, const FileDialogRequest &request)
{
    return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

QString QtPlatform::saveFileName(QWidget *owner, const FileDialogRequest &request)
{
    return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

std::optional<ColorValue> QtPlatform::chooseColor(QWidget *owner, ColorValue initial)
{
    ensureQtTranslation();
    const QColor chosen = QColorDialog::getColor(qcolor(initial), owner, QStringLiteral("色の設定"));
    if (!chosen.isValid())
        return std::nullopt;
    return rgbValue(chosen.red(), chosen.green(), chosen.blue());
}

bool QtPlatform::printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options)
{
    ensureQtTranslation();
    ChartPrintDialog dialog(printer, owner);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 1);
    auto *layoutTab = new QWidget;
    layoutTab->setWindowTitle(QStringLiteral("レイアウト"));
    auto *fit = new QCheckBox(QStringLiteral("用紙に合わせて拡大(&Z)"), layoutTab);
    fit->setObjectName(QStringLiteral("fitToPage"));
    fit->setChecked(options.fitToPage);
    auto *about =
        new QLabel(QStringLiteral("座席表を用紙いっぱいに拡大し、中央に印刷します。横長の座席表には"
                                  "用紙を横向きに使います。\n外すと、画面と同じ大きさで用紙の左上に印刷します。"),
                   layoutTab);
    about->setWordWrap(true);
    auto *column = new QVBoxLayout(layoutTab);
    column->addWidget(fit);
    column->addWidget(about);
    column->addStretch();
    dialog.setOptionTabs({layoutTab});
    // Qt proposes a file in the home folder named after the document (under X11 only).
    if (auto *fileName = dialog.findChild<QLineEdit *>(QStringLiteral("filename")))
        fileName->setText(options.pdfFile);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    options.fitToPage = fit->isChecked();
    return true;
}

void QtPlatform::help(QWidget *owner, const QString &helpFile, int command, int data)
{
    help_(owner, helpFile, command, data);
}

#ifdef Q_OS_WIN
namespace
{

HWND activeWindowHandle()
{
    QWidget *w = QApplication::activeWindow();
    return w ? reinterpret_cast<HWND>(w->winId()) : nullptr;
}

WindowsVersion runningWindowsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Deprecated, but the version record is exactly what decides the browser's path.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL ok = GetVersionExW(&info);
#if defined(_MSC_VER)
#pragma warning(pop)
#else
#pragma GCC diagnostic pop
#endif
    if (!ok)
        return {};
    return {unsigned(info.dwPlatformId), unsigned(info.dwMajorVersion), unsigned(info.dwMinorVersion)};
}

} // namespace
#endif

// On Windows the mail program and the browser are looked for where the program has
// always looked for them; elsewhere the desktop's own choice is used.
bool QtPlatform::startMail(const QString &address)
{
#ifdef Q_OS_WIN
    const QString drive = windowsDrivePrefix(qEnvironmentVariable("WinDir"));
    if (!QFileInfo::exists(windowsMailProgramPath(drive)))
        return false;
    const std::wstring target = (QStringLiteral("mailto:") + address).toStdWString();
    ShellExecuteW(activeWindowHandle(), L"open", target.c_str(), L"", L"", SW_SHOWNORMAL);
    return true;
#else
    return QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address));
#endif
}

bool QtPlatform::startBrowser(const QString &url)
{
#ifdef Q_OS_WIN
    const QString drive = windowsDrivePrefix(qEnvironmentVariable("WinDir"));
    const QString browser = windowsBrowserPath(drive, windowsSystemName(runningWindowsVersion()));
    if (browser.isEmpty())
        return true; // a system the links know nothing about: nothing to start, nothing to report
    if (!QFileInfo::exists(browser))
        return false;
    const std::wstring program = browser.toStdWString();
    std::wstring commandLine = windowsBrowserCommandLine(browser, url).toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return true;
#else
    return QDesktopServices::openUrl(QUrl(url));
#endif
}

bool QtPlatform::capsLockOn()
{
#ifdef Q_OS_WIN
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
#else
    return KeyStateTracker::instance().capsLock();
#endif
}

bool QtPlatform::insertModeOn()
{
#ifdef Q_OS_WIN
    return (GetKeyState(VK_INSERT) & 1) != 0;
#else
    return KeyStateTracker::instance().insertMode();
#endif
}

void QtPlatform::switchInputMethodOn(QWidget *box)
{
    box->setAttribute(Qt::WA_InputMethodEnabled, true);
    box->setInputMethodHints(Qt::ImhNone);
#ifdef Q_OS_WIN
    if (HIMC context = ImmGetContext(reinterpret_cast<HWND>(box->winId()))) {
        ImmSetOpenStatus(context, TRUE);
        ImmReleaseContext(reinterpret_cast<HWND>(box->winId()), context);
    }
#endif
}

void QtPlatform::quitProgram()
{
    QCoreApplication::exit(0);
}
