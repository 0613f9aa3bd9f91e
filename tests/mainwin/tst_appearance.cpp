// Options > initial settings: the logo item, the background chooser and the countdown colours.
#include "about/splash.h"
#include "app/colors.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/startupwindows.h"
#include "app/ui.h"
#include "mainwin/maincolordialog.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>

namespace {

const QString SameColour = QStringLiteral("設定確認|背景と文字に同じ色を設定しようとしました。|16");

// Start-up's settings over a store that holds `stored`, then the main window created and shown.
NARABIN *freshMain(const QMap<QString, QString> &stored = {})
{
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        SaveSetting(QString::fromLatin1(ProgramTitle), QStringLiteral("Config"), it.key(), it.value());
    loadStartupSettings(QDir::currentPath());
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

QByteArray settingsBytes(const TestEnv &env)
{
    QFile f(env.settingsFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The lines of the settings file whose key is `key`, spelled in any case.
QStringList storedLines(const TestEnv &env, const QString &key)
{
    QStringList out;
    for (const QString &line : QString::fromUtf8(settingsBytes(env)).split(QLatin1Char('\n'))) {
        if (line.section(QLatin1Char('='), 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            out.append(line.trimmed());
    }
    return out;
}

// Makes the settings store unwritable: a folder where its file belongs.
void blockSettingsStore(const TestEnv &env)
{
    QFile::remove(env.settingsFile());
    QVERIFY(QDir().mkpath(env.settingsFile()));
}

QString notStoredLog(const TestEnv &env)
{
    return QStringLiteral("設定の保存エラー|設定を保存できませんでした。\r保存先: %1\r設定は変更されていません。|16")
        .arg(env.settingsFile());
}

// A pixel of what the main window shows on screen now (not drawn afresh for the
// question); invalid until the window has been painted.
QColor onScreen(NARABIN *w, QPoint pixel)
{
    const QPoint origin = w->client()->mapTo(w, QPoint(0, 0));
    const QImage image = w->screen()->grabWindow(w->winId()).toImage();
    return image.rect().contains(origin + pixel) ? image.pixelColor(origin + pixel) : QColor();
}

QColor topBandColour(int r, int g, int b)
{
    // Pixel row 30 lies in the band that starts at 409 twips.
    return QColor(r, g, b - (b * 409) / 6555);
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void chooserLayout_data();
    void chooserLayout();
    void chooserTabOrderAndGroup();
    void presetStoredAndShown_data();
    void presetStoredAndShown();
    void okWithoutChoiceTakesBlueSky();
    void loadSelectsCurrentPreset_data();
    void loadSelectsCurrentPreset();
    void reopenedChooserShowsAppliedPreset();
    void oneChooserBroughtToFront();
    void chooserHelp();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void sameColourRefused_data();
    void sameColourRefused();
    void chosenColourStoredAsDecimal_data();
    void chosenColourStoredAsDecimal();
    void otherColourNotANumberEndsSilently();
    void logoToggle();
    void recreatedMainWindowStartsUnticked();
    void failedWritesChangeNothing();
};

void TestAppearance::chooserLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("px");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QColor>("textColour");
    QTest::addColumn<QString>("toolTip");
    const QColor yellow(255, 255, 0), lightYellow(255, 255, 128), black(Qt::black);
    QTest::newRow("Label1") << "Label1" << "メイン画面の背景を選択して、OKボタンを押して下さい。" << twRect(75, 210, 4935, 255)
                            << "MS UI Gothic" << 11.25 << yellow << "";
    QTest::newRow("深海") << "Option1_0" << "深海" << twRect(1890, 600, 885, 270) << "ＭＳ Ｐゴシック" << 11.25
                        << lightYellow << "";
    QTest::newRow("夕焼け空") << "Option1_1" << "夕焼け空" << twRect(1890, 960, 1305, 270) << "ＭＳ Ｐゴシック" << 11.25
                          << lightYellow << "";
    QTest::newRow("青い空") << "Option1_2" << "青い空" << twRect(1890, 1320, 1125, 270) << "ＭＳ Ｐゴシック" << 11.25
                         << lightYellow << "";
    QTest::newRow("OK") << "Command1_0" << "OK" << twRect(445, 1770, 1300, 300) << "MS UI Gothic" << 9.0 << black
                        << " OK ";
    QTest::newRow("キャンセル") << "Command1_1" << "キャンセル" << twRect(1855, 1770, 1300, 300) << "MS UI Gothic" << 9.0
                           << black << " キャンセル ";
    QTest::newRow("ヘルプ") << "Command1_2" << "ヘルプ" << twRect(3265, 1770, 1300, 300) << "MS UI Gothic" << 9.0 << black
                         << " ヘルプ ";
}

void TestAppearance::chooserLayout()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, px);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(QColor, textColour);
    QFETCH(QString, toolTip);
    TestEnv env;
    NARABIN *w = freshMain();
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    QVERIFY(c && c->isVisible());
    QCOMPARE(c->windowTitle(), QStringLiteral("メイン画面の背景の選択"));
    QCOMPARE(c->size(), QSize(tw(4980), tw(2190)));
    QCOMPARE(c->palette().color(QPalette::Window), QColor(128, 128, 128));
    QWidget *control = c->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->property("text").toString(), text);
    QCOMPARE(control->geometry(), px);
    QCOMPARE(control->font().families().constFirst(), family);
    if (name == QLatin1String("Label1")) {
        // The whole line shows, in the table's size where the face allows it.
        QVERIFY(control->font().pointSizeF() <= points && control->font().pointSizeF() >= 9);
        QVERIFY(QFontMetrics(control->font()).horizontalAdvance(text) <= control->width());
    } else {
        QCOMPARE(control->font().pointSizeF(), points);
    }
    QCOMPARE(control->toolTip(), toolTip);
    if (textColour != QColor(Qt::black))
        QCOMPARE(control->palette().color(QPalette::WindowText), textColour);
    if (qobject_cast<QRadioButton *>(control)) {
        QVERIFY(control->autoFillBackground());
        QCOMPARE(control->palette().color(QPalette::Window), QColor(128, 128, 128));
    }
    if (name == QLatin1String("Label1"))
        QVERIFY(!control->autoFillBackground());
}

void TestAppearance::chooserTabOrderAndGroup()
{
    TestEnv env;
    freshMain({{"OptMColor", "2"}});
    TRIGGER(loadedForm<NARABIN>(), "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    QVERIFY(c);
    QStringList chain;
    QWidget *start = c->Option1[0];
    QWidget *next = start;
    do {
        // Tab reaches the checked option of the group; the arrows move between them.
        if (next->focusPolicy() != Qt::NoFocus)
            chain.append(next->objectName());
        next = next->nextInFocusChain();
    } while (next != start);
    QCOMPARE(chain, (QStringList{"Option1_0", "Option1_1", "Option1_2", "Command1_0", "Command1_1", "Command1_2"}));
    // One group: choosing one option clears the others.
    QVERIFY(c->Option1[1]->isChecked());
    QTest::mouseClick(c->Option1[2], Qt::LeftButton);
    QCOMPARE((QList<bool>{c->Option1[0]->isChecked(), c->Option1[1]->isChecked(), c->Option1[2]->isChecked()}),
             (QList<bool>{false, false, true}));
    QTRY_COMPARE(QApplication::focusWidget(), c->Option1[2]);
}

void TestAppearance::presetStoredAndShown_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QColor>("logo");
    QTest::addColumn<QColor>("shadow");
    QTest::addColumn<QList<int>>("gradient");
    const QColor teal(0, 128, 128), darkGreen(0, 64, 0);
    // Presets 1 and 3 share their lettering and differ only in the gradient.
    QTest::newRow("深海") << "2" << 0 << "1" << teal << darkGreen << QList<int>{10, 50, 110};
    QTest::newRow("夕焼け空") << "1" << 1 << "2" << QColor(255, 128, 0) << QColor(128, 0, 0) << QList<int>{200, 100, 150};
    QTest::newRow("青い空") << "1" << 2 << "3" << teal << darkGreen << QList<int>{50, 80, 130};
}

void TestAppearance::presetStoredAndShown()
{
    QFETCH(QString, before);
    QFETCH(int, option);
    QFETCH(QString, stored);
    QFETCH(QColor, logo);
    QFETCH(QColor, shadow);
    QFETCH(QList<int>, gradient);
    TestEnv env;
    NARABIN *w = freshMain({{"OptMColor", before}});
    QTRY_VERIFY(onScreen(w, {600, 30}).isValid());
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    QVERIFY(c);
    QTest::mouseClick(c->Option1[size_t(option)], Qt::LeftButton);
    c->Command1[0]->click();

    QVERIFY(!isLoaded<SEL_MCL>());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{"OptMColor=" + stored});
    const SharedState &s = state();
    QCOMPARE(s.OptMColor, stored);
    QCOMPARE(qcolor(s.LogoColor), logo);
    QCOMPARE(qcolor(s.LogoShadowColor), shadow);
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    // The main window takes the new colours at once, without waiting to be activated again.
    for (QLabel *l : {w->Label1, w->Label5, w->Label6, w->Label7, w->Label9})
        QCOMPARE(l->palette().color(QPalette::WindowText), logo);
    for (QLabel *l : {w->Label2_0, w->Label3, w->Label4, w->Label8, w->Label10})
        QCOMPARE(l->palette().color(QPalette::WindowText), shadow);
    // Only the repaint the chooser asked for is let through: no activation of the main window.
    QCoreApplication::sendPostedEvents(w, QEvent::UpdateRequest);
    QCOMPARE(onScreen(w, {600, 30}), topBandColour(gradient[0], gradient[1], gradient[2]));
}

void TestAppearance::okWithoutChoiceTakesBlueSky()
{
    TestEnv env;
    NARABIN *w = freshMain({{"OptMColor", "7"}});
    QCOMPARE(state().GradientBlue, 0);
    TRIGGER(w, "mnuMainColor");
    loadedForm<SEL_MCL>()->Command1[0]->click();
    QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{"OptMColor=3"});
    QCOMPARE(state().OptMColor, QStringLiteral("3"));
    QCOMPARE((QList<int>{state().GradientRed, state().GradientGreen, state().GradientBlue}), (QList<int>{50, 80, 130}));
    QTRY_COMPARE(onScreen(w, {600, 30}), topBandColour(50, 80, 130));
}

void TestAppearance::loadSelectsCurrentPreset_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("selected");
    QTest::newRow("1: 深海") << "1" << 0;
    QTest::newRow("2: 夕焼け空") << "2" << 1;
    QTest::newRow("3: 青い空") << "3" << 2;
    QTest::newRow("7: none") << "7" << -1;
    QTest::newRow("0: none") << "0" << -1;
    QTest::newRow("not a number: none") << "青" << -1;
}

void TestAppearance::loadSelectsCurrentPreset()
{
    QFETCH(QString, stored);
    QFETCH(int, selected);
    TestEnv env;
    NARABIN *w = freshMain({{"OptMColor", stored}});
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    QVERIFY(c);
    QCOMPARE(c->Option1Group->checkedId(), selected);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(c->Option1[size_t(i)]->isChecked(), i == selected);
}

void TestAppearance::reopenedChooserShowsAppliedPreset()
{
    TestEnv env;
    NARABIN *w = freshMain();
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *first = loadedForm<SEL_MCL>();
    QCOMPARE(first->Option1Group->checkedId(), 0);
    first->Option1[2]->click();
    first->Command1[0]->click();
    QVERIFY(!isLoaded<SEL_MCL>());
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *again = loadedForm<SEL_MCL>();
    QVERIFY(again);
    QCOMPARE(again->Option1Group->checkedId(), 2);
}

void TestAppearance::oneChooserBroughtToFront()
{
    TestEnv env;
    NARABIN *w = freshMain();
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    QVERIFY(c);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(c));
    // The main window stays usable while the chooser is open.
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(w));
    c->Option1[1]->click();
    TRIGGER(w, "mnuMainColor");
    QCOMPARE(loadedForm<SEL_MCL>(), c);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(c));
    QVERIFY(c->Option1[1]->isChecked()); // the open chooser keeps the user's choice
    int choosers = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        choosers += qobject_cast<SEL_MCL *>(top) && !static_cast<SEL_MCL *>(top)->isUnloaded() ? 1 : 0;
    QCOMPARE(choosers, 1);
}

void TestAppearance::chooserHelp()
{
    TestEnv env;
    NARABIN *w = freshMain();
    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    c->Command1[2]->click();
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 1);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{HELP_CONTEXT, 39}));
    QCOMPARE(calls[0].owner.data(), static_cast<QWidget *>(c));
    QCOMPARE(calls[0].text, state().HelpFilePath);
    QVERIFY(isLoaded<SEL_MCL>() && c->isVisible());
}

void TestAppearance::cancelWritesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("chooser, after picking 夕焼け空") << "chooser";
    QTest::newRow("chooser closed by the window manager") << "close";
    QTest::newRow("background colour dialog") << "mnuBack";
    QTest::newRow("text colour dialog") << "mnuFore";
}

void TestAppearance::cancelWritesNothing()
{
    QFETCH(QString, how);
    TestEnv env;
    NARABIN *w = freshMain();
    const QByteArray before = settingsBytes(env);
    if (how == QLatin1String("mnuBack") || how == QLatin1String("mnuFore")) {
        env.platform.colors.enqueue(std::nullopt);
        w->findChild<QAction *>(how)->trigger();
        QCOMPARE(env.platform.callsOf(QStringLiteral("color")).size(), 1);
    } else {
        TRIGGER(w, "mnuMainColor");
        SEL_MCL *c = loadedForm<SEL_MCL>();
        c->Option1[1]->click();
        if (how == QLatin1String("close"))
            c->close();
        else
            c->Command1[1]->click();
        QVERIFY(!isLoaded<SEL_MCL>());
    }
    QCOMPARE(settingsBytes(env), before);
    QVERIFY(env.platform.messageLog().isEmpty());
    const SharedState &s = state();
    QCOMPARE(s.OptMColor, QStringLiteral("1"));
    QCOMPARE(s.GradientRed, 10);
    QCOMPARE(s.CountdownBackColor, QStringLiteral("&HFF"));
    QCOMPARE(s.CountdownForeColor, QStringLiteral("&HFFFFFF"));
}

void TestAppearance::sameColourRefused_data()
{
    QTest::addColumn<QString>("storedBack");
    QTest::addColumn<QString>("storedFore");
    QTest::addColumn<QString>("item");
    QTest::addColumn<uint>("chosen");
    QTest::newRow("text red over the stored &HFF") << "&HFF" << "&HFFFFFF" << "mnuFore" << 255u;
    QTest::newRow("background white under the stored &HFFFFFF") << "&HFF" << "&HFFFFFF" << "mnuBack" << 16777215u;
    QTest::newRow("background blue under decimal text") << "255" << "16711680" << "mnuBack" << 16711680u;
    QTest::newRow("text under lower-case hex") << "&h8000&" << "&HFFFFFF" << "mnuFore" << 32768u;
}

void TestAppearance::sameColourRefused()
{
    QFETCH(QString, storedBack);
    QFETCH(QString, storedFore);
    QFETCH(QString, item);
    QFETCH(uint, chosen);
    TestEnv env;
    NARABIN *w = freshMain({{"OptBColor", storedBack}, {"OptFColor", storedFore}});
    const QByteArray before = settingsBytes(env);
    env.platform.colors.enqueue(chosen);
    w->findChild<QAction *>(item)->trigger();
    QCOMPARE(env.platform.messageLog(), QStringList{SameColour});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), static_cast<QWidget *>(w));
    QCOMPARE(settingsBytes(env), before);
    QCOMPARE(state().CountdownBackColor, storedBack);
    QCOMPARE(state().CountdownForeColor, storedFore);
}

void TestAppearance::chosenColourStoredAsDecimal_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<uint>("chosen");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("initial"); // what the dialog opens with
    QTest::newRow("background pure blue") << "mnuBack" << 16711680u << "OptBColor" << "&HFF";
    QTest::newRow("background black") << "mnuBack" << 0u << "OptBColor" << "&HFF";
    QTest::newRow("text yellow") << "mnuFore" << 65535u << "OptFColor" << "&HFFFFFF";
}

void TestAppearance::chosenColourStoredAsDecimal()
{
    QFETCH(QString, item);
    QFETCH(uint, chosen);
    QFETCH(QString, key);
    QFETCH(QString, initial);
    TestEnv env;
    NARABIN *w = freshMain();
    env.platform.colors.enqueue(chosen);
    w->findChild<QAction *>(item)->trigger();
    QVERIFY(env.platform.messageLog().isEmpty());
    const PlatformCall dialog = env.platform.callsOf(QStringLiteral("color")).constFirst();
    QCOMPARE(dialog.owner.data(), static_cast<QWidget *>(w));
    QCOMPARE(uint(dialog.data), *colorFromText(initial));
    // One key, in the spelling the store first had, holding the decimal text.
    QCOMPARE(storedLines(env, key), QStringList{key + QLatin1Char('=') + QString::number(chosen)});
    QCOMPARE(readSetting(key), QString::number(chosen));
    const QString &inMemory = item == QLatin1String("mnuBack") ? state().CountdownBackColor : state().CountdownForeColor;
    QCOMPARE(inMemory, QString::number(chosen));

    // The next choice of the other colour is checked against the new number.
    env.platform.colors.enqueue(chosen);
    w->findChild<QAction *>(item == QLatin1String("mnuBack") ? "mnuFore" : "mnuBack")->trigger();
    QCOMPARE(env.platform.messageLog(), QStringList{SameColour});
}

void TestAppearance::otherColourNotANumberEndsSilently()
{
    TestEnv env;
    NARABIN *w = freshMain({{"OptFColor", "白"}});
    const QByteArray before = settingsBytes(env);
    env.platform.colors.enqueue(rgbValue(0, 0, 255));
    TRIGGER(w, "mnuBack");
    QCOMPARE(env.platform.callsOf(QStringLiteral("color")).size(), 1);
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(settingsBytes(env), before);
    QCOMPARE(state().CountdownBackColor, QStringLiteral("&HFF"));
}

void TestAppearance::logoToggle()
{
    TestEnv env;
    whenModal([] { unload<INITDISP>(); });
    runStartup(QDir::currentPath());
    NARABIN *w = loadedForm<NARABIN>();
    QVERIFY(w);
    QVERIFY(w->mnuLogoMark->isChecked());
    TRIGGER(w, "mnuLogoMark");
    QVERIFY(!w->mnuLogoMark->isChecked());
    QCOMPARE(storedLines(env, QStringLiteral("OptLogo")), QStringList{"OptLogo=0"});
    QCOMPARE(state().OptLogo, QStringLiteral("0"));
    TRIGGER(w, "mnuLogoMark");
    QVERIFY(w->mnuLogoMark->isChecked());
    QCOMPARE(storedLines(env, QStringLiteral("OptLogo")), QStringList{"OptLogo=1"});
    QCOMPARE(state().OptLogo, QStringLiteral("1"));
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestAppearance::recreatedMainWindowStartsUnticked()
{
    TestEnv env;
    NARABIN *w = freshMain();
    w->mnuLogoMark->setChecked(true); // as start-up leaves it
    unload<NARABIN>();
    NARABIN *again = form<NARABIN>();
    QVERIFY(again != w);
    QVERIFY(!again->mnuLogoMark->isChecked());
    QCOMPARE(state().OptLogo, QStringLiteral("1"));
    TRIGGER(again, "mnuLogoMark");
    QVERIFY(again->mnuLogoMark->isChecked());
    QCOMPARE(storedLines(env, QStringLiteral("OptLogo")), QStringList{"OptLogo=1"});
}

void TestAppearance::failedWritesChangeNothing()
{
    TestEnv env;
    NARABIN *w = freshMain();
    w->mnuLogoMark->setChecked(true);
    blockSettingsStore(env);

    TRIGGER(w, "mnuLogoMark");
    QVERIFY(w->mnuLogoMark->isChecked());
    QCOMPARE(state().OptLogo, QStringLiteral("1"));

    env.platform.colors.enqueue(rgbValue(0, 0, 255));
    TRIGGER(w, "mnuBack");
    QCOMPARE(state().CountdownBackColor, QStringLiteral("&HFF"));

    TRIGGER(w, "mnuMainColor");
    SEL_MCL *c = loadedForm<SEL_MCL>();
    c->Option1[1]->click();
    c->Command1[0]->click();
    // The chooser stays open with the choice, so the user may try again or cancel.
    QVERIFY(isLoaded<SEL_MCL>() && c->Option1[1]->isChecked());
    QCOMPARE(state().OptMColor, QStringLiteral("1"));
    QCOMPARE(state().GradientRed, 10);

    QCOMPARE(env.platform.messageLog(), QStringList(3, notStoredLog(env)));
    const QList<PlatformCall> messages = env.platform.callsOf(QStringLiteral("message"));
    QCOMPARE(messages[0].owner.data(), static_cast<QWidget *>(w));
    QCOMPARE(messages[2].owner.data(), static_cast<QWidget *>(c));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
