#include "shell/qtplatform.h"

#include "shell/qttranslation.h"

#include "core/colors.h"
#include "print/printlibrary.h"
#include "seating/printing.h"
#include "widgets/keystate.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <array>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
// After windows.h, whose types they use.
#include <imm.h>
#include <shellapi.h>

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
#ifdef Q_OS_WIN
    // Windows' own dialog matches names without regard to case already.
    Q_UNUSED(iconProvider);
#else
    // Qt's own dialog, so that the filters match names without regard to case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(&iconProvider);
#endif
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilters(qtNameFilters(request.filter));
    // Wide enough that the name, size, type and date of a file read whole.
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(std::max(dialog.width(), 780), std::max(dialog.height(), 480));
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < view->header()->count(); ++column)
            view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
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
    if ((style & 0x0F) == MsgStyle::AbortRetryIgnore) {
        // One role for all three keeps them in this order; Esc stops.
        const std::array<std::pair<QString, int>, 3> choices{{{QStringLiteral("中止(&A)"), IDABORT},
                                                              {QStringLiteral("再試行(&R)"), IDRETRY},
                                                              {QStringLiteral("無視(&I)"), IDIGNORE}}};
        std::array<QPushButton *, 3> buttons{};
        for (std::size_t i = 0; i < choices.size(); ++i)
            buttons[i] = box.addButton(choices[i].first, QMessageBox::ActionRole);
        box.setDefaultButton(buttons[(style & MsgStyle::DefaultButton2) ? 1 : 0]);
        box.setEscapeButton(buttons[0]);
        box.exec();
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (box.clickedButton() == buttons[i])
                return choices[i].second;
        }
        return IDABORT;
    }
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

int QtPlatform::chooseFromList(QWidget *owner, const QString &title, const QString &label, const QStringList &items,
                               int current)
{
    ensureQtTranslation();
    QDialog dialog(owner);
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *caption = new QLabel(label, &dialog);
    auto *list = new QComboBox(&dialog);
    list->addItems(items);
    // Chosen by index: two items may read alike.
    list->setCurrentIndex(current >= 0 && current < items.size() ? current : 0);
    caption->setBuddy(list);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(caption);
    layout->addWidget(list);
    layout->addWidget(buttons);
    list->setFocus();
    return dialog.exec() == QDialog::Accepted ? list->currentIndex() : -1;
}

bool QtPlatform::printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options)
{
    ensureQtTranslation();
    // The printer comes from the printing library, which is loaded by then.
    const PrintLibrary *library = printLibrary();
    return library && library->printDialog(owner, printer, options);
}

void QtPlatform::help(QWidget *owner, const QString &helpFile, int command, int data)
{
    help_(owner, helpFile, command, data);
}

#ifdef Q_OS_WIN
namespace
{

// Asks Windows to open an address with the program the user chose for it; true when
// something was started (ShellExecute reports success with a value above 32).
bool openWithShell(const QString &address)
{
    QWidget *active = QApplication::activeWindow();
    const HWND owner = active ? reinterpret_cast<HWND>(active->winId()) : nullptr;
    const std::wstring target = address.toStdWString();
    const HINSTANCE result = ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace
#endif

// The desktop's own mail program and browser, whatever they are.
bool QtPlatform::startMail(const QString &address)
{
    const QString url = QStringLiteral("mailto:") + address;
#ifdef Q_OS_WIN
    return openWithShell(url);
#else
    return QDesktopServices::openUrl(QUrl(url));
#endif
}

bool QtPlatform::startBrowser(const QString &url)
{
#ifdef Q_OS_WIN
    return openWithShell(url);
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
    // On the window's handle: asking a box for its own would make it a native window.
    const HWND window = reinterpret_cast<HWND>(box->window()->winId());
    if (HIMC context = ImmGetContext(window)) {
        ImmSetOpenStatus(context, TRUE);
        ImmSetConversionStatus(context, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_NONE);
        ImmReleaseContext(window, context);
    }
#endif
}

void QtPlatform::quitProgram()
{
    QCoreApplication::exit(0);
}
