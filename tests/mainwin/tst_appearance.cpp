// Options > initial settings: the logo item, the background chooser and the countdown colours.
#include "app/colors.h"
#include "app/settings.h"
#include "app/startup.h"
#include "mainwin/maincolordialog.h"
#include "support/mainfixtures.h"

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
    return startedMain();
}

SEL_MCL *openChooser(NARABIN *w)
{
    findAction(w, QStringLiteral("mnuMainColor"))->trigger();
    return loadedForm<SEL_MCL>();
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

// A pixel of what the main window shows on screen now (not drawn afresh for the
// question); invalid until the window has been painted.
QColor onScreen(NARABIN *w, QPoint pixel)
{
    const QPoint origin = w->client()->mapTo(w, QPoint(0, 0));
    const QImage image = w->screen()->grabWindow(w->winId()).toImage();
    return image.rect().contains(origin + pixel) ? image.pixelColor(origin + pixel) : QColor();
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void presetStoredAndShown_data();
    void presetStoredAndShown();
    void countdownColours_data();
    void countdownColours();
    void logoToggleAndFailedWrites();
};

void TestAppearance::presetStoredAndShown_data()
{
    QTest::addColumn<QString>("before"); // OptMColor when the chooser opens: it selects that preset
    QTest::addColumn<int>("option"); // -1: no choice
    QTest::addColumn<QString>("button"); // "close": closed by the window manager
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QColor>("logo");
    QTest::addColumn<QColor>("shadow");
    QTest::addColumn<QList<int>>("gradient");
    const QColor teal(0, 128, 128), darkGreen(0, 64, 0);
    const QList<int> deepSea{10, 50, 110}, blueSky{50, 80, 130};
    // Presets 1 and 3 share their lettering and differ only in the gradient.
    QTest::newRow("深海") << "2" << 0 << "OK" << "1" << teal << darkGreen << deepSea;
    QTest::newRow("夕焼け空") << "3" << 1 << "OK" << "2" << QColor(255, 128, 0) << QColor(128, 0, 0) << QList<int>{200, 100, 150};
    QTest::newRow("青い空") << "1" << 2 << "OK" << "3" << teal << darkGreen << blueSky;
    QTest::newRow("no choice from 7 takes 青い空") << "7" << -1 << "OK" << "3" << teal << darkGreen << blueSky;
    QTest::newRow("no choice from a word takes 青い空") << "青" << -1 << "OK" << "3" << teal << darkGreen << blueSky;
    QTest::newRow("キャンセル after picking 夕焼け空") << "1" << 1 << "キャンセル" << "1" << teal << darkGreen << deepSea;
    QTest::newRow("closed after picking 夕焼け空") << "1" << 1 << "close" << "1" << teal << darkGreen << deepSea;
}

void TestAppearance::presetStoredAndShown()
{
    QFETCH(QString, before);
    QFETCH(int, option);
    QFETCH(QString, button);
    QFETCH(QString, stored);
    QFETCH(QColor, logo);
    QFETCH(QColor, shadow);
    QFETCH(QList<int>, gradient);
    TestEnv env;
    NARABIN *w = freshMain({{"OptMColor", before}});
    const QByteArray bytesBefore = settingsBytes(env);
    QTRY_VERIFY(onScreen(w, {600, 30}).isValid());
    SEL_MCL *c = openChooser(w);
    QVERIFY(c && c->isVisible());
    QCOMPARE(c->Option1Group->checkedId(), QStringList({"1", "2", "3"}).indexOf(before));
    if (option >= 0)
        QTest::mouseClick(c->Option1[size_t(option)], Qt::LeftButton);
    QCOMPARE(openChooser(w), c); // the open one, with the choice made
    if (button == QLatin1String("close"))
        c->close();
    else
        c->Command1[button == QLatin1String("OK") ? 0 : 1]->click();

    QVERIFY(!isLoaded<SEL_MCL>());
    QVERIFY(env.platform.messageLog().isEmpty());
    if (button == QLatin1String("OK"))
        QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{"OptMColor=" + stored});
    else
        QCOMPARE(settingsBytes(env), bytesBefore);
    const SharedState &s = state();
    QCOMPARE(s.OptMColor, stored);
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    // The main window takes the new colours at once, without waiting to be activated again.
    for (QLabel *l : {w->Label1, w->Label5, w->Label6, w->Label7, w->Label9})
        QCOMPARE(l->palette().color(QPalette::WindowText), logo);
    for (QLabel *l : {w->Label2_0, w->Label3, w->Label4, w->Label8, w->Label10})
        QCOMPARE(l->palette().color(QPalette::WindowText), shadow);
    // Only the repaint the chooser asked for is let through: no activation of the main window.
    // Pixel row 30 lies in the band that starts at 409 twips.
    QCoreApplication::sendPostedEvents(w, QEvent::UpdateRequest);
    QCOMPARE(onScreen(w, {600, 30}), QColor(gradient[0], gradient[1], gradient[2] - (gradient[2] * 409) / 6555));
}

void TestAppearance::countdownColours_data()
{
    QTest::addColumn<QString>("storedBack");
    QTest::addColumn<QString>("storedFore");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("chosen"); // -1: the colour dialog cancelled
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored"); // the line of the key the item writes; empty: the store unchanged
    QTest::newRow("text red over the stored &HFF") << "&HFF" << "&HFFFFFF" << "mnuFore" << 255 << QStringList{SameColour} << "";
    QTest::newRow("background blue under decimal text") << "255" << "16711680" << "mnuBack" << 16711680 << QStringList{SameColour} << "";
    QTest::newRow("text under lower-case hex") << "&h8000&" << "&HFFFFFF" << "mnuFore" << 32768 << QStringList{SameColour} << "";
    QTest::newRow("other colour not a number: nothing") << "&HFF" << "白" << "mnuBack" << 16711680 << QStringList() << "";
    QTest::newRow("background dialog cancelled") << "&HFF" << "&HFFFFFF" << "mnuBack" << -1 << QStringList() << "";
    QTest::newRow("text dialog cancelled") << "&HFF" << "&HFFFFFF" << "mnuFore" << -1 << QStringList() << "";
    // One key, in the spelling the store first had, holding the decimal text.
    QTest::newRow("background black") << "&HFF" << "&HFFFFFF" << "mnuBack" << 0 << QStringList() << "OptBColor=0";
    QTest::newRow("text yellow") << "&HFF" << "&HFFFFFF" << "mnuFore" << 65535 << QStringList() << "OptFColor=65535";
}

void TestAppearance::countdownColours()
{
    QFETCH(QString, storedBack);
    QFETCH(QString, storedFore);
    QFETCH(QString, item);
    QFETCH(int, chosen);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    TestEnv env;
    NARABIN *w = freshMain({{"OptBColor", storedBack}, {"OptFColor", storedFore}});
    const QByteArray before = settingsBytes(env);
    env.platform.colors.enqueue(chosen < 0 ? std::nullopt : std::optional<ColorValue>(chosen));
    findAction(w, item)->trigger();
    QCOMPARE(env.platform.messageLog(), messages);
    const bool back = item == QLatin1String("mnuBack");
    const PlatformCall dialog = env.platform.callsOf(QStringLiteral("color")).value(0);
    QCOMPARE(ColorValue(dialog.data), *colorFromText(back ? storedBack : storedFore)); // what it opens with
    if (stored.isEmpty()) {
        QCOMPARE(settingsBytes(env), before);
        QCOMPARE(state().CountdownBackColor + u'|' + state().CountdownForeColor, storedBack + u'|' + storedFore);
        return;
    }
    QCOMPARE(storedLines(env, stored.section(u'=', 0, 0)), QStringList{stored});
    QCOMPARE(back ? state().CountdownBackColor : state().CountdownForeColor, QString::number(chosen));
    // The next choice of the other colour is checked against the new number.
    env.platform.colors.enqueue(chosen);
    findAction(w, back ? QStringLiteral("mnuFore") : QStringLiteral("mnuBack"))->trigger();
    QCOMPARE(env.platform.messageLog(), QStringList{SameColour});
}

void TestAppearance::logoToggleAndFailedWrites()
{
    TestEnv env;
    NARABIN *w = freshMain(); // a main window created anew starts unticked, whatever OptLogo says
    QCOMPARE(state().OptLogo, QStringLiteral("1"));
    for (const QString value : {"1", "0"}) {
        TRIGGER(w, "mnuLogoMark");
        QCOMPARE(w->mnuLogoMark->isChecked(), value == QLatin1String("1"));
        QCOMPARE(storedLines(env, QStringLiteral("OptLogo")), QStringList{"OptLogo=" + value});
        QCOMPARE(state().OptLogo, value);
    }
    QVERIFY(env.platform.messageLog().isEmpty());

    // A folder where the store's file belongs: each write is reported and changes nothing.
    QFile::remove(env.settingsFile());
    QVERIFY(QDir().mkpath(env.settingsFile()));
    TRIGGER(w, "mnuLogoMark");
    QVERIFY(!w->mnuLogoMark->isChecked());
    QCOMPARE(state().OptLogo, QStringLiteral("0"));

    env.platform.colors.enqueue(rgbValue(0, 0, 255));
    TRIGGER(w, "mnuBack");
    QCOMPARE(state().CountdownBackColor, QStringLiteral("&HFF"));

    SEL_MCL *c = openChooser(w);
    c->Option1[1]->click();
    c->Command1[0]->click();
    // The chooser stays open with the choice, so the user may try again or cancel.
    QVERIFY(isLoaded<SEL_MCL>() && c->Option1[1]->isChecked());
    QCOMPARE(state().OptMColor, QStringLiteral("1"));
    QCOMPARE(state().GradientRed, 10);

    const QString notStored = QStringLiteral("設定の保存エラー|設定を保存できませんでした。\r保存先: %1\r設定は変更されていません。|16")
                                  .arg(env.settingsFile());
    QCOMPARE(env.platform.messageLog(), QStringList(3, notStored));
    const QList<PlatformCall> messages = env.platform.callsOf(QStringLiteral("message"));
    QCOMPARE(messages[0].owner.data(), static_cast<QWidget *>(w));
    QCOMPARE(messages[2].owner.data(), static_cast<QWidget *>(c));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
