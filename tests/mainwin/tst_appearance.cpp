// Options > initial settings: the background chooser and the countdown colours.
#include "core/colors.h"
#include "mainwin/maincolordialog.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include <tuple>

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void presetStoredAndShown();
    void countdownColours();
};

// The chooser stores the preset, and the main window takes its lettering at once, without
// waiting to be activated again. Presets 1 and 3 share their lettering, not their gradient.
void TestAppearance::presetStoredAndShown()
{
    TestEnv env;
    storeBefore("OptMColor", "2");
    MainWindow *w = startedMain();
    for (const auto &[option, stored, gradient] :
         {std::tuple{0, "1", QList<int>{10, 50, 110}}, std::tuple{2, "3", QList<int>{50, 80, 130}}}) {
        TRIGGER(w, "mnuMainColor");
        MainColorDialog *c = loadedForm<MainColorDialog>();
        QVERIFY(c && c->isVisible());
        QTest::mouseClick(c->presetOptions[size_t(option)], Qt::LeftButton);
        c->buttons[0]->click();
        QVERIFY(!isLoaded<MainColorDialog>());
        QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{QStringLiteral("OptMColor=") + stored});
        const SharedState &s = state();
        QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
        for (QLabel *l : w->logoLetters)
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        for (QLabel *l : w->logoShadows)
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 64, 0));
    }
    QVERIFY(env.platform.messageLog().isEmpty());
}

// A text colour the same as the background is said and not stored; a background colour is.
void TestAppearance::countdownColours()
{
    TestEnv env;
    storeBefore("OptBColor", "&HFF");
    storeBefore("OptFColor", "&HFFFFFF");
    MainWindow *w = startedMain();
    const QByteArray before = settingsBytes(env);
    env.platform.colors.enqueue(ColorValue(255));
    TRIGGER(w, "mnuFore");
    QCOMPARE(env.platform.messageLog(), QStringList{"設定確認|背景と文字に同じ色を設定しようとしました。|16"});
    QCOMPARE(settingsBytes(env), before);
    env.platform.colors.enqueue(ColorValue(0));
    TRIGGER(w, "mnuBack");
    QCOMPARE(state().CountdownBackColor + u'|' + state().CountdownForeColor, QStringLiteral("0|&HFFFFFF"));
    QCOMPARE(storedLines(env, QStringLiteral("OptBColor")), QStringList{"OptBColor=0"});
    QCOMPARE(env.platform.messageLog().size(), 1);
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
