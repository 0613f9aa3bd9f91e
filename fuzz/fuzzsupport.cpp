#include "fuzzcheck.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace fuzz
{

QString scratchFolder()
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir.path();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

bool readsAsUtf8(const QByteArray &saved)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(saved);
    return !utf8.hasError() && text.size() != saved.size();
}

} // namespace fuzz
