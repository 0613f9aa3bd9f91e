// The version window: its lettering and links, link highlighting, and what a link click starts.
#include "about/versioninfo.h"
#include "app/product.h"
#include "app/startup.h"
#include "app/ui.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QColor Rest(192, 255, 192);
const QColor Lit(0, 255, 0);

QColor textColour(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

// "rest"/"lit" for the mail group, then for the home-page group; "mixed" when a group disagrees.
QString linkState(const INFO_VER *w)
{
    const auto group = [w](auto indices) {
        QSet<QString> seen;
        for (int i : indices) {
            const QColor c = textColour(w->Label1[i]);
            seen.insert(c == Rest ? QStringLiteral("rest") : c == Lit ? QStringLiteral("lit") : c.name());
        }
        return seen.size() == 1 ? *seen.begin() : QStringLiteral("mixed");
    };
    return group(INFO_VER::MailLinks) + QLatin1Char('/') + group(INFO_VER::HomePageLinks);
}

INFO_VER *shownVersionWindow()
{
    INFO_VER *w = form<INFO_VER>();
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

QStringList linkCalls(const ScriptedPlatform &p)
{
    QStringList out;
    for (const PlatformCall &c : p.calls) {
        if (c.kind == QLatin1String("mail") || c.kind == QLatin1String("browser"))
            out.append(c.kind + QLatin1Char('|') + c.text);
    }
    return out;
}

} // namespace

class TestVersionInfo : public QObject {
    Q_OBJECT

private slots:
    void labels_data();
    void labels();
    void windowAndControls();
    void linkLabels();
    void highlightFollowsThePointer();
    void linkClicks_data();
    void linkClicks();
    void modalAndFreshEachTime();
};

void TestVersionInfo::labels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("face");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    const QColor yellow(255, 255, 0);
    const QColor black(0, 0, 0);
    const QString mincho = QStringLiteral("ＭＳ Ｐ明朝");
    const QString times = QStringLiteral("Times New Roman");
    const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
    const auto row = [](int i, const QString &text, QRect r, QColor c, const QString &face, qreal pt, bool bold) {
        QTest::addRow("Label1(%d)", i) << i << text << r << c << face << pt << bold;
    };
    const QString name = QStringLiteral("ならびん");
    row(1, name, {1530, 270, 3615, 945}, yellow, mincho, 48, true);
    row(0, name, {1650, 390, 3615, 945}, black, mincho, 48, true);
    row(3, QStringLiteral("君"), {5190, 930, 285, 285}, yellow, mincho, 12, true);
    row(2, QStringLiteral("君"), {5310, 1050, 285, 285}, black, mincho, 12, true);
    const QString platformLine = QStringLiteral("for Windows 98/Me/NT/2000/XP");
    row(5, platformLine, {330, 1350, 3795, 315}, yellow, times, 14.25, false);
    row(4, platformLine, {420, 1440, 3795, 315}, black, times, 14.25, false);
    const QString notice = QString::fromUtf8(product::Notice);
    row(7, notice, {330, 1680, 2775, 405}, yellow, times, 14.25, false);
    row(6, notice, {420, 1770, 2775, 405}, black, times, 14.25, false);
    const QString author = QString::fromUtf8(product::Author);
    row(9, author, {3600, 1710, 585, 315}, yellow, mincho, 12, false);
    row(8, author, {3690, 1800, 585, 315}, black, mincho, 12, false);
    const QString version = QString::fromUtf8(product::Version);
    row(18, version, {420, 900, 1035, 315}, QColor(255, 255, 192), times, 14.25, false);
    row(19, version, {510, 990, 1035, 315}, black, times, 14.25, false);
    row(10, QStringLiteral("E-Mail Address："), {420, 2325, 1635, 255}, Rest, gothic, 9, false);
    row(11, QStringLiteral("narabin@example.jp"), {420, 2550, 1995, 255}, Rest, gothic, 9, false);
    row(12, QStringLiteral("URL Address："), {420, 2970, 1395, 255}, Rest, gothic, 9, false);
    row(13, QStringLiteral("http://www.example.jp/"), {420, 3195, 2895, 255}, Rest, gothic, 9, false);
    row(14, QStringLiteral("narabin/"), {420, 3420, 1065, 255}, Rest, gothic, 9, false);
}

void TestVersionInfo::labels()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(QColor, colour);
    QFETCH(QString, face);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    TestEnv env;
    INFO_VER *w = form<INFO_VER>();
    QLabel *label = w->Label1[index];
    QVERIFY(label);
    QCOMPARE(label->objectName(), QStringLiteral("Label1_%1").arg(index));
    QCOMPARE(label->text(), text);
    // At its tabled place; never smaller than tabled, and wide and high enough for its text.
    const QRect tabled = twRect(twips.x(), twips.y(), twips.width(), twips.height());
    QCOMPARE(label->pos(), tabled.topLeft());
    QVERIFY(label->width() >= tabled.width() && label->height() >= tabled.height());
    QVERIFY(label->width() >= label->sizeHint().width() && label->height() >= label->sizeHint().height());
    if (index >= 10 && index <= 14)
        QCOMPARE(label->size(), tabled.size());
    QCOMPARE(textColour(label), colour);
    QCOMPARE(label->font().families().value(0), face);
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->font().bold(), bold);
}

void TestVersionInfo::windowAndControls()
{
    TestEnv env;
    INFO_VER *w = form<INFO_VER>();
    QCOMPARE(w->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(w->size(), QSize(tw(5985), tw(3975)));
    QCOMPARE(w->palette().color(QPalette::Window), QColor(128, 128, 128));
    for (int missing : {15, 16, 17})
        QCOMPARE(w->Label1[missing], nullptr);
    // Every front layer lies over its shadow.
    for (auto [front, shadow] : {std::pair{1, 0}, {3, 2}, {5, 4}, {7, 6}, {9, 8}, {18, 19}})
        QVERIFY(w->children().indexOf(w->Label1[front]) > w->children().indexOf(w->Label1[shadow]));

    QCOMPARE(w->Command1->text(), QStringLiteral("OK"));
    QCOMPARE(w->Command1->toolTip(), QStringLiteral(" OK "));
    QCOMPARE(w->Command1->geometry(), twRect(4350, 1530, 1300, 300));
    QCOMPARE(w->Image1->geometry(), QRect(tw(690), tw(390), 32, 32));
    QCOMPARE(w->Image1->pixmap().size(), QSize(32, 32));
    for (QFrame *line : w->Line1) {
        QVERIFY(line);
        QCOMPARE(line->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(line->width() == 1 || line->height() == 1);
    }
    // OK is the only control that takes the keyboard, so it comes first.
    QList<QWidget *> focusable;
    for (QWidget *c : w->findChildren<QWidget *>()) {
        if (c->focusPolicy() != Qt::NoFocus)
            focusable.append(c);
    }
    QCOMPARE(focusable, QList<QWidget *>{w->Command1});
    QCOMPARE(w->focusWidget(), w->Command1);
}

void TestVersionInfo::linkLabels()
{
    TestEnv env;
    INFO_VER *w = form<INFO_VER>();
    for (int i = 10; i <= 14; ++i) {
        QLabel *l = w->Label1[i];
        QCOMPARE(l->toolTip(), i <= 11 ? QStringLiteral(" narabin@example.jp ")
                                       : QStringLiteral(" http://www.example.jp/narabin/download.html "));
        QCOMPARE(l->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(l->cursor().hotSpot(), QPoint(5, 0));
        QVERIFY(l->autoFillBackground());
        QCOMPARE(l->palette().color(QPalette::Window), QColor(128, 128, 128));
    }
    QCOMPARE(linkState(w), QStringLiteral("rest/rest"));
}

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
        {"Label1_1", centre(1), "lit/rest"},                      // the name lettering changes nothing
        {"Label1_13", centre(13), "rest/lit"},                    // the other group takes over
        {"Label1_10", centre(10), "lit/rest"},
        {"INFO_VER", QPoint(4, 4), "rest/rest"},                  // the background resets both
        {"Label1_14", centre(14), "rest/lit"},
        {"Label1_0", QPoint(tw(5205), tw(450)), "rest/lit"},      // a shadow layer changes nothing
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
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("messages");
    const QString mail = QStringLiteral("mail|narabin@example.jp");
    const QString browser = QStringLiteral("browser|http://www.example.jp/narabin/");
    const QString oe = QStringLiteral("OE ｲﾝｽﾄｰﾙ 確認|「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。|48");
    const QString ie = QStringLiteral("IE ｲﾝｽﾄｰﾙ 確認|「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。|48");
    for (int i : {10, 11}) {
        QTest::addRow("mail %d", i) << i << true << QStringList{mail} << QStringList{};
        QTest::addRow("mail %d, no mail program", i) << i << false << QStringList{mail} << QStringList{oe};
    }
    for (int i : {12, 13, 14}) {
        QTest::addRow("home page %d", i) << i << true << QStringList{browser} << QStringList{};
        QTest::addRow("home page %d, no browser", i) << i << false << QStringList{browser} << QStringList{ie};
    }
    for (int i : {1, 0, 18}) {
        QTest::addRow("lettering %d", i) << i << false << QStringList{} << QStringList{};
    }
}

void TestVersionInfo::linkClicks()
{
    QFETCH(int, index);
    QFETCH(bool, starts);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, messages);
    TestEnv env;
    env.platform.mailStarts = starts;
    env.platform.browserStarts = starts;
    INFO_VER *w = shownVersionWindow();
    QVERIFY(w);
    QLabel *label = w->Label1[index];
    // Element 0 is a shadow: click where it is not covered by its front layer.
    const QPoint where = index == 0 ? label->rect().bottomRight() - QPoint(2, 2) : label->rect().center();
    QTest::mouseClick(label, Qt::LeftButton, {}, where);
    QCOMPARE(linkCalls(env.platform), calls);
    QCOMPARE(env.platform.messageLog(), messages);
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("message")))
        QCOMPARE(c.owner.data(), w);
    QVERIFY(w->isVisible()); // the window stays open
}

void TestVersionInfo::modalAndFreshEachTime()
{
    TestEnv env;
    loadStartupSettings(env.work());
    NARABIN *main = form<NARABIN>();
    main->show();
    QPointer<INFO_VER> first;
    whenModal([&] {
        first = loadedForm<INFO_VER>();
        QVERIFY(first);
        QCOMPARE(QApplication::activeModalWidget(), first.data());
        QTRY_VERIFY(first->Command1->hasFocus());
        first->Label1_MouseMove(13);
        QCOMPARE(linkState(first), QStringLiteral("rest/lit"));
        QTest::keyClick(first->Command1, Qt::Key_Return);
    });
    TRIGGER(main, "mnuVersion");
    QVERIFY(first);
    QVERIFY(!first->isVisible());
    QTRY_VERIFY(!first);

    // Opened again (from the toolbar this time): a new window, links at rest.
    bool seen = false;
    whenModal([&] {
        INFO_VER *again = loadedForm<INFO_VER>();
        QVERIFY(again);
        QCOMPARE(linkState(again), QStringLiteral("rest/rest"));
        seen = true;
        again->Command1->click();
    });
    main->Toolbar1->button(11)->click();
    QVERIFY(seen);
    QVERIFY(!isLoaded<INFO_VER>());
}

QTEST_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
