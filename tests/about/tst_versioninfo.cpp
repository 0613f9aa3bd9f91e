// The version window: its texts, link highlighting, and what a link click starts.
#include "about/versioninfo.h"
#include "support/largewindows.h"

#include <QLabel>
#include <QtTest>

namespace
{

// The mail links (10, 11), then the home-page links (12-14): "+" lit, "-" at rest.
QString linkState(const VersionWindow *w)
{
    QString out;
    for (int i = 10; i <= 14; ++i) {
        const QColor c = w->labels[i]->palette().color(QPalette::WindowText);
        out += c == QColor(0, 255, 0) ? u'+' : c == QColor(192, 255, 192) ? u'-' : u'?';
    }
    return out;
}

} // namespace

class TestVersionInfo : public QObject
{
    Q_OBJECT

private slots:
    void highlightFollowsThePointer();
    void linkClicks_data();
    void linkClicks();
};

void TestVersionInfo::highlightFollowsThePointer()
{
    TestEnv env;
    VersionWindow *w = form<VersionWindow>();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // A label index, or -1 for the window's background.
    const QList<std::pair<int, QString>> steps{{11, "++---"}, {13, "--+++"}, {10, "++---"}, {-1, "-----"}};
    for (const auto &[index, expected] : steps) {
        const QPoint point = index < 0 ? QPoint(4, 4) : w->labels[index]->geometry().center();
        QTest::mouseMove(w, point);
        QTRY_COMPARE(linkState(w), expected);
    }
}

void TestVersionInfo::linkClicks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("calls"); // what was started, then the messages shown
    const QString mail = "mail|narabin@example.jp", browser = "browser|http://www.example.jp/narabin/";
    QTest::newRow("mail") << 10 << true << QStringList{mail};
#ifdef Q_OS_WIN
    const QString noMail = "OE ｲﾝｽﾄｰﾙ 確認|「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。|48",
                  noBrowser = "IE ｲﾝｽﾄｰﾙ 確認|「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。|48";
#else
    const QString noMail = "メールソフト ｲﾝｽﾄｰﾙ 確認|「メールソフト」 が ｲﾝｽﾄｰﾙ されていません。|48",
                  noBrowser = "Webブラウザ ｲﾝｽﾄｰﾙ 確認|「Webブラウザ」 が ｲﾝｽﾄｰﾙ されていません。|48";
#endif
    QTest::newRow("no mail program") << 11 << false << QStringList{mail, noMail};
    QTest::newRow("no browser") << 13 << false << QStringList{browser, noBrowser};
}

void TestVersionInfo::linkClicks()
{
    QFETCH(int, index);
    QFETCH(bool, starts);
    QFETCH(QStringList, calls);
    TestEnv env;
    env.platform.mailStarts = env.platform.browserStarts = starts;
    VersionWindow *w = form<VersionWindow>();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(w->labels[index], Qt::LeftButton, {}, w->labels[index]->rect().center());
    QStringList log;
    for (const PlatformCall &c : env.platform.calls) {
        QVERIFY(c.kind != "message" || c.owner.data() == w);
        log.append(c.kind == "message" ? c.title + u'|' + c.text + u'|' + QString::number(c.style)
                                       : c.kind + u'|' + c.text);
    }
    QCOMPARE(log, calls);
    QVERIFY(w->isVisible()); // the window stays open
}

QTEST_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
