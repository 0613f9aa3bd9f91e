// Options > initial settings: the background chooser and the countdown colours.
#include "core/colors.h"
#include "core/settings.h"
#include "core/startup.h"
#include "mainwin/maincolordialog.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void presetStoredAndShown_data();
    void presetStoredAndShown();
    void countdownColours_data();
    void countdownColours();
};

void TestAppearance::presetStoredAndShown_data()
{
    QTest::addColumn<QString>("before"); // OptMColor when the chooser opens
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("gradient");
    // Presets 1 and 3 share their lettering and differ only in the gradient.
    QTest::newRow("深海") << "2" << 0 << "1" << QList<int>{10, 50, 110};
    QTest::newRow("青い空") << "1" << 2 << "3" << QList<int>{50, 80, 130};
}

void TestAppearance::presetStoredAndShown()
{
    QFETCH(QString, before);
    QFETCH(int, option);
    QFETCH(QString, stored);
    QFETCH(QList<int>, gradient);
    TestEnv env;
    storeBefore("OptMColor", before);
    MainWindow *w = startedMain();
    TRIGGER(w, "mnuMainColor");
    MainColorDialog *c = loadedForm<MainColorDialog>();
    QVERIFY(c && c->isVisible());
    QTest::mouseClick(c->presetOptions[size_t(option)], Qt::LeftButton);
    c->buttons[0]->click();
    QVERIFY(!isLoaded<MainColorDialog>());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{"OptMColor=" + stored});
    const SharedState &s = state();
    QCOMPARE(s.OptMColor, stored);
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    // The main window takes the new lettering at once, without waiting to be activated again.
    for (QLabel *l : w->logoLetters)
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    for (QLabel *l : w->logoShadows)
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 64, 0));
}

void TestAppearance::countdownColours_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("chosen"); // -1: the colour dialog cancelled
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QStringList>("messages"); // %1: the settings file
    QTest::addColumn<QString>("stored");       // the line written; empty: the store unchanged
    QTest::addColumn<QString>("colours");      // background|text afterwards
    const QString keep = QStringLiteral("&HFF|&HFFFFFF");
    QTest::newRow("text red over the stored &HFF")
        << "mnuFore" << 255 << true << QStringList{"設定確認|背景と文字に同じ色を設定しようとしました。|16"} << ""
        << keep;
    QTest::newRow("text dialog cancelled") << "mnuFore" << -1 << true << QStringList() << "" << keep;
    QTest::newRow("background black") << "mnuBack" << 0 << true << QStringList() << "OptBColor=0"
                                      << "0|&HFFFFFF";
    QTest::newRow("settings not writable") << "mnuBack" << 0 << false << QStringList{SettingsNotSaved} << "" << keep;
}

void TestAppearance::countdownColours()
{
    QFETCH(QString, item);
    QFETCH(int, chosen);
    QFETCH(bool, writable);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    QFETCH(QString, colours);
    TestEnv env;
    storeBefore("OptBColor", "&HFF");
    storeBefore("OptFColor", "&HFFFFFF");
    MainWindow *w = startedMain();
    const QByteArray before = settingsBytes(env);
    if (!writable)
        QVERIFY(lockSettings(env));
    env.platform.colors.enqueue(chosen < 0 ? std::nullopt : std::optional<ColorValue>(chosen));
    findAction(w, item)->trigger();
    QCOMPARE(env.platform.messageLog(),
             messages.replaceInStrings(QStringLiteral("%1"), QDir::toNativeSeparators(env.settingsFile())));
    QCOMPARE(state().CountdownBackColor + u'|' + state().CountdownForeColor, colours);
    if (!stored.isEmpty())
        QCOMPARE(storedLines(env, stored.section(u'=', 0, 0)), QStringList{stored});
    else if (writable)
        QCOMPARE(settingsBytes(env), before);
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
