#include "support/testenv.h"

#include "core/sharedstate.h"
#include "core/textfile.h"
#include "widgets/programresources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QWidget>

#include <array>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

TestEnv::TestEnv()
{
    ensureProgramResources();
    QDir(dir_.path()).mkpath(QStringLiteral("work"));
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    services.settingsFolder = dir_.filePath(QStringLiteral("config"));
    services.cacheFolder = dir_.filePath(QStringLiteral("cache"));
    services.solverLibrary = QStringLiteral(NARABIN_TEST_SOLVER);
    services.printLibrary = QStringLiteral(NARABIN_TEST_PRINT_LIBRARY);
    services.platform = &platform;
    QDir::setCurrent(work());
    resetState();
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    setNow(QDateTime(QDate(2026, 12, 5), QTime(15, 7)));
    installServices(&services);
    setNavigator(&navigator_);
}

TestEnv::~TestEnv()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
    QApplication::processEvents();
    setNavigator(nullptr);
    installServices(nullptr);
    resetState();
    QDir::setCurrent(QDir::tempPath());
}

QString TestEnv::path(const QString &relative) const
{
    return QDir(work()).filePath(relative);
}

void TestEnv::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QFile f(path(relative));
    QDir().mkpath(QFileInfo(f).absolutePath());
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("fixture not written: %s", qPrintable(relative));
}

QByteArray TestEnv::readFile(const QString &relative) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void TestEnv::limitWrites(const QString &pathSuffix, qint64 bytes)
{
    services.writeLimit = [pathSuffix, bytes](const QString &path) -> std::optional<qint64> {
        if (path.endsWith(pathSuffix))
            return bytes;
        return std::nullopt;
    };
}

void TestEnv::setNow(const QDateTime &now)
{
    services.now = [now] { return now; };
}

namespace
{
#ifdef Q_OS_LINUX
// The powers that let root past file permissions.
constexpr std::array<int, 3> PermissionPowers{CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

bool setEffectivePowers(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, 2> data{};
    if (syscall(SYS_capget, &header, data.data()) != 0)
        return false;
    for (const int power : PermissionPowers) {
        const quint32 bit = 1u << (power % 32);
        if (on)
            data[size_t(power / 32)].effective |= bit;
        else
            data[size_t(power / 32)].effective &= ~bit;
    }
    return syscall(SYS_capset, &header, data.data()) == 0;
}
#endif
} // namespace

HeldToPermissions::HeldToPermissions()
{
#ifdef Q_OS_LINUX
    if (geteuid() == 0 && !setEffectivePowers(false))
        qFatal("cannot give up root's file powers for a permission test");
    dropped_ = geteuid() == 0;
#endif
}

HeldToPermissions::~HeldToPermissions()
{
#ifdef Q_OS_LINUX
    if (dropped_)
        setEffectivePowers(true);
#endif
}

QAction *findAction(QWidget *window, const QString &name)
{
    if (!window)
        return nullptr;
    const QList<QAction *> actions = window->findChildren<QAction *>(name);
    return actions.isEmpty() ? nullptr : actions.constFirst();
}

void whenModal(std::function<void()> fn)
{
    QTimer::singleShot(0, qApp, std::move(fn));
}

QByteArray sjis(const QString &text)
{
    return encodeCp932(text).value_or(QByteArray("<not CP932>"));
}
