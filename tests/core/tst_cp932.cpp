// The program's own code page 932: sequences as Windows reads them, the characters with
// several codes written as Windows writes them, every other code point refused. Every
// sequence and code point is compared with Windows itself under Wine (tests/wine).
#include "core/cp932.h"
#include "core/cp932table.h"

#include <QtTest>

namespace
{

QString hexOf(const std::optional<QByteArray> &bytes)
{
    return bytes ? QString::fromLatin1(bytes->toHex()) : QStringLiteral("none");
}

QString codesOf(const std::optional<QString> &text)
{
    if (!text)
        return QStringLiteral("none");
    QStringList codes;
    for (const QChar c : *text)
        codes.append(QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
    return codes.join(u' ');
}

} // namespace

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void windowsReadsThemSo_data();
    void windowsReadsThemSo();
    void everyCodePointWrittenOrRefused();
};

// Where Windows and ICU (Qt's "windows-31j") part ways, and the characters CP932 has
// several codes for: "bytes read > the characters' codes ("none": no CP932) > the bytes written".
void TestCp932::windowsReadsThemSo_data()
{
    QTest::addColumn<QString>("reading");
    QTest::newRow("control bytes 1A 1C 7F as ASCII, 80 A0 FD FE FF as their own")
        << "1a1c7f80a0fdfeff > U+001A U+001C U+007F U+0080 U+F8F0 U+F8F1 U+F8F2 U+F8F3 > 1a1c7f80a0fdfeff";
    QTest::newRow("half-width katakana") << "a1df > U+FF61 U+FF9F > a1df";
    QTest::newRow("髙 ⅰ of the NEC-selected row, written as IBM's") << "eee0eeef > U+9AD9 U+2170 > fbfcfa40";
    QTest::newRow("﨑 of the IBM row") << "fab1 > U+FA11 > fab1";
    QTest::newRow("Ⅰ of the IBM row, written as NEC row 13's") << "fa4a > U+2160 > 8754";
    QTest::newRow("∵ of NEC row 13, written as JIS") << "879a > U+2235 > 81e6";
    QTest::newRow("¬ of the IBM row, written as JIS") << "fa54 > U+FFE2 > 81ca";
    QTest::newRow("a pair that is no character") << "8540 > none > none";
    QTest::newRow("a lead byte before a line end") << "820a > none > none";
}

void TestCp932::windowsReadsThemSo()
{
    QFETCH(QString, reading);
    const std::optional<QString> read = decodeCp932(QByteArray::fromHex(reading.section(u' ', 0, 0).toLatin1()));
    QCOMPARE(codesOf(read) + " > " + hexOf(read ? encodeCp932Exactly(*read) : std::nullopt), reading.section(" > ", 1));
}

// Every code point of the BMP: a character CP932 reads is written as a code that reads back
// as it; any other is refused, for Windows writes it only by best fit or as '?'.
void TestCp932::everyCodePointWrittenOrRefused()
{
    QSet<char16_t> readable(Cp932DoubleBytes.begin(), Cp932DoubleBytes.end());
    readable.remove(0);
    for (int b = 0; b <= 0xFF; ++b) {
        if (const std::optional<QString> text = decodeCp932(QByteArray(1, char(b))))
            readable.insert(text->at(0).unicode());
    }
    int written = 0;
    for (int code = 0; code <= 0xFFFF; ++code) {
        const QString text(QChar{char16_t(code)});
        const std::optional<QByteArray> bytes = encodeCp932Exactly(text);
        QVERIFY2(bytes.has_value() == readable.contains(char16_t(code)),
                 qPrintable(codesOf(text) + " " + hexOf(bytes)));
        if (!bytes)
            continue;
        QCOMPARE(decodeCp932(*bytes), std::optional<QString>(text));
        ++written;
    }
    QCOMPARE(written, 9402); // 128 ASCII, 63 katakana, 5 odd single bytes, 9206 of the table
}

QTEST_MAIN(TestCp932)
#include "tst_cp932.moc"
