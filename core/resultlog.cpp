#include "core/resultlog.h"

#include <QDir>

QString resultLogName()
{
    return QStringLiteral("ならびん.ini");
}

QString resultLogWriteName()
{
    return QStringLiteral("ならびん.INI");
}

QString resultLogPath(const QString &folder)
{
    const QString existing = findFileNoCase(folder, resultLogName());
    return existing.isEmpty() ? QDir(folder).absoluteFilePath(resultLogWriteName()) : existing;
}

QString resultLogLockTarget(const QString &folder)
{
    return QDir(folder).absoluteFilePath(resultLogWriteName());
}

FieldsRead readResultLog(const QString &folder)
{
    const QString existing = findFileNoCase(folder, resultLogName());
    if (existing.isEmpty())
        return FieldsRead{true, {}, {}};
    return readFieldsFile(existing);
}

QStringList pastLogEntries(const QStringList &log)
{
    return log.mid(qMax<qsizetype>(0, log.size() - ResultLogCapacity));
}

QStringList appendToResultLog(QStringList log, const QString &fileName)
{
    log.append(fileName);
    while (log.size() > ResultLogCapacity)
        log.removeFirst();
    return log;
}

QStringList cleanResultLog(const QStringList &log, const std::function<bool(const QString &)> &exists)
{
    QStringList kept;
    for (const QString &name : log) {
        if (!name.isEmpty() && exists(name))
            kept.append(name);
    }
    return kept;
}

QString writeResultLog(const QString &folder, const QStringList &log)
{
    return writeLinesFile(resultLogPath(folder), log);
}
