// The version window: its texts, link highlighting, and what a link click starts.
#include "about/versioninfo.h"
#include "app/ui.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QtTest>

namespace {

// "rest"/"lit" for the mail group, then for the home-page group; "mixed" when a group disagrees.
QString linkState(const INFO_VER *w)
{
    const auto group = [w](auto indices) {
        QSet<QString> seen;
        for (int i : indices) {
            const QColor c = w->Label1[i]->palette().color(QPalette::WindowText);
            seen.insert(c == QColor(192, 255, 192) ? QStringLiteral("rest") : c == QColor(0, 255, 0) ? QStringLiteral("lit") : c.name());
        }
        return seen.size() == 1 ? *seen.begin() : QStringLiteral("mixed");
    };
    return group(INFO_VER::MailLinks) + QLatin1Char('/') + group(INFO_VER::HomePageLinks);
}

INFO_VER *shownVersionWindow()
{
    INFO_VER *w = form<INFO_VER>();
    w->show();
    return QTest::qWaitForWindowExposed(w) ? w : nullptr;
}

} // namespace

class TestVersionInfo : public QObject {
    Q_OBJECT

private slots:
    void highlightFollowsThePointer();
    void linkClicks_data();
    void linkClicks();
};

void TestVersionInfo::highlightFollowsThePointer()
{
    TestEnv env;
    INFO_VER *w = shownVersionWindow();
    QVERIFY(w);
    struct Step {
        const char *over; // the widget the point must hit
        QPoint point;
        const char *state;
    };
    const auto centre = [w](int i) { return w->Label1[i]->geometry().center(); };
    const Step steps[] = {
        {"Label1_11", centre(11), "lit/rest"},
        {"Label1_1", centre(1), "lit/rest"},                 // the name lettering changes nothing
        {"Label1_13", centre(13), "rest/lit"},               // the other group takes over
        {"Label1_10", centre(10), "lit/rest"},
        {"INFO_VER", QPoint(4, 4), "rest/rest"},             // the background resets both
        {"Label1_14", centre(14), "rest/lit"},
        {"Label1_0", QPoint(tw(5205), tw(450)), "rest/lit"}, // a shadow layer changes nothing
        {"Label1_12", centre(12), "rest/lit"},
        {"INFO_VER", QPoint(tw(5700), tw(3000)), "rest/rest"},
    };
    for (const Step &s : steps) {
        QWidget *hit = w->childAt(s.point);
        QCOMPARE(hit ? hit->objectName() : w->objectName(), QString::fromLatin1(s.over));
        QTest::mouseMove(w, s.point);
        QTRY_COMPARE(linkState(w), QString::fromLatin1(s.state));
    }
}

void TestVersionInfo::linkClicks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("calls"); // what was started, then the messages shown
    const QString mail = "mail|narabin@example.jp", browser = "browser|http://www.example.jp/narabin/";
    for (int i : {10, 11})
        QTest::addRow("mail %d", i) << i << true << QStringList{mail};
    for (int i : {12, 13, 14})
        QTest::addRow("home page %d", i) << i << true << QStringList{browser};
    QTest::newRow("no mail program") << 11 << false << QStringList{mail, "OE ｲﾝｽﾄｰﾙ 確認|「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。|48"};
    QTest::newRow("no browser") << 13 << false << QStringList{browser, "IE ｲﾝｽﾄｰﾙ 確認|「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。|48"};
    for (int i : {1, 0, 18})
        QTest::addRow("lettering %d", i) << i << false << QStringList{};
}

void TestVersionInfo::linkClicks()
{
    QFETCH(int, index);
    QFETCH(bool, starts);
    QFETCH(QStringList, calls);
    TestEnv env;
    env.platform.mailStarts = env.platform.browserStarts = starts;
    INFO_VER *w = shownVersionWindow();
    QVERIFY(w);
    QLabel *label = w->Label1[index];
    // Element 0 is a shadow: click where it is not covered by its front layer.
    QTest::mouseClick(label, Qt::LeftButton, {}, index == 0 ? label->rect().bottomRight() - QPoint(2, 2) : label->rect().center());
    QStringList log;
    for (const PlatformCall &c : env.platform.calls) {
        QVERIFY(c.kind != "message" || c.owner.data() == w);
        log.append(c.kind == "message" ? c.title + u'|' + c.text + u'|' + QString::number(c.style) : c.kind + u'|' + c.text);
    }
    QCOMPARE(log, calls);
    QVERIFY(w->isVisible()); // the window stays open
}

QTEST_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
