// The help viewer: what each help command shows, the keyword search, a help file that is
// not there, and every window's help items and buttons reaching it.
#include "about/helpviewer.h"
#include "app/startup.h"
#include "app/windowbars.h"
#include "mainwin/filedialogs.h"
#include "mainwin/maincolordialog.h"
#include "roster/rostereditor.h"
#include "support/mainfixtures.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// The shipped help file, copied where the program looks for it.
QString installHelpFile(TestEnv &env)
{
    QFile shipped(QFINDTESTDATA("../../resources/NARABIN.HLP"));
    if (!shipped.open(QIODevice::ReadOnly))
        qFatal("no shipped help file");
    env.writeFile("NARABIN.HLP", shipped.readAll());
    return state().HelpFilePath = env.path("NARABIN.HLP");
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out.append(list->item(row)->text());
    return out;
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT

private slots:
    void contextOpensItsTopic_data();
    void contextOpensItsTopic();
    void oneViewerForEveryCommand();
    void unusableHelpFileIsReported_data();
    void unusableHelpFileIsReported();
    void helpRequests_data();
    void helpRequests();
};

void TestHelpViewer::contextOpensItsTopic_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("title");
    QTest::newRow("25 NOPLINE") << 25 << "nopline" << "非印刷行の設定";
    QTest::newRow("29 FILESCOPY") << 29 << "copy" << "ファイルのコピー";
    QTest::newRow("30 RENAME") << 30 << "rename" << "ファイル名の変更";
    QTest::newRow("39 SEL_MCL") << 39 << "background" << "メイン画面の背景の選択";
    QTest::newRow("43 TOUROKU") << 43 << "roster" << "登録・修正";
    QTest::newRow("44 COND") << 44 << "cond" << "条件設定";
    QTest::newRow("46 RESULT") << 46 << "result" << "ならびん結果";
}

void TestHelpViewer::contextOpensItsTopic()
{
    QFETCH(int, context);
    QFETCH(QString, id);
    QFETCH(QString, title);
    TestEnv env;
    showHelp(nullptr, installHelpFile(env), HELP_CONTEXT, context);
    HelpViewer *v = loadedForm<HelpViewer>();
    QVERIFY(v && v->isVisible());
    QCOMPARE(v->currentTopicId(), id);
    QCOMPARE(v->windowTitle(), QStringLiteral("ならびん君 ヘルプ - ") + title);
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestHelpViewer::oneViewerForEveryCommand()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    QPointer<HelpViewer> v = loadedForm<HelpViewer>();
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));
    const HelpLoad load = loadHelpFile(path);
    QStringList titles;
    for (const HelpTopic *t : load.file.chapters())
        titles.append(t->title);
    QCOMPARE(titles.size(), load.file.topics.size() - 1);
    QCOMPARE(itemTexts(v->contentsList), titles);

    v->searchBox->setText("left over");
    showHelp(nullptr, path, HELP_PARTIALKEY, 0);
    QCOMPARE(v->tabs->currentIndex(), 1);
    QCOMPARE(v->searchBox->text(), QString());
    QTRY_VERIFY(v->searchBox->hasFocus());
    QInputMethodEvent commit; // typed as the input method commits it
    commit.setCommitString("印刷行");
    QApplication::sendEvent(v->searchBox, &commit);
    QCOMPARE(itemTexts(v->indexList), (QStringList{"非印刷行", "非印刷行の設定"}));
    QTest::keyClick(v->searchBox, Qt::Key_Down);
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    // Nothing found: said so, and Return shows nothing new.
    QVERIFY(v->noMatchLabel->isHidden());
    v->searchBox->setText("宇宙旅行");
    QCOMPARE(v->indexList->count(), 0);
    QVERIFY(!v->noMatchLabel->isHidden());
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));

    // From a modal dialog's help button: still the one viewer, in front and taking input.
    QDialog dialog;
    bool checked = false;
    whenModal([&] {
        auto closeAlways = qScopeGuard([&dialog] { dialog.accept(); });
        showHelp(&dialog, path, HELP_CONTEXT, 29);
        QCOMPARE(loadedForm<HelpViewer>(), v.data());
        QCOMPARE(QApplication::activeModalWidget(), v.data());
        QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));
        QTest::keyClick(v->searchBox, Qt::Key_Escape);
        checked = true;
    });
    dialog.exec();
    QVERIFY(checked);
    QTRY_VERIFY(!v);
}

void TestHelpViewer::unusableHelpFileIsReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // after the help file's name, for every command
    QTest::newRow("missing") << QByteArray() << "が見つかりません。\rヘルプは表示できませんが、ならびん君はこのままお使いいただけます。";
    QTest::newRow("not a help file") << QByteArray("MZ\x90\0\x03\0\0\0", 8) << "は、ならびん君のヘルプファイルではないか、壊れています。";
    QTest::newRow("no topic for the context: contents instead")
        << QByteArray("*topic contents\r\n*title Index\r\n*topic a 43\r\n*title A\r\n") << "";
}

void TestHelpViewer::unusableHelpFileIsReported()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestEnv env;
    loadStartupSettings(env.work());
    if (!bytes.isEmpty())
        env.writeFile("NARABIN.HLP", bytes);
    QCOMPARE(state().HelpFilePath, env.path("NARABIN.HLP"));
    QWidget owner;
    for (const int command : {HELP_CONTEXT, HELP_CONTENTS, HELP_PARTIALKEY})
        showHelp(&owner, state().HelpFilePath, command, 44);
    const QString line = "ならびん君 ヘルプ|ヘルプファイル「" + env.path("NARABIN.HLP") + "」" + message + "|48";
    const QString noTopic = "ならびん君 ヘルプ|ヘルプファイルに、この画面の説明（トピック番号 44）がありません。目次を表示します。|48";
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList{noTopic} : QStringList(3, line));
    QCOMPARE(env.platform.calls.constFirst().owner.data(), &owner);
    QCOMPARE(isLoaded<HelpViewer>(), message.isEmpty());
}

void TestHelpViewer::helpRequests_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control"); // an action, a toolbar position, or the dialog's help button
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("data");
    QTest::newRow("main window F1 item") << "NARABIN" << "mnuHelpContext_KeyWord_0" << HELP_PARTIALKEY << 0;
    QTest::newRow("main window contents item") << "NARABIN" << "mnuHelpContext_KeyWord_1" << HELP_CONTENTS << 0;
    QTest::newRow("main window toolbar 12") << "NARABIN" << "12" << HELP_CONTENTS << 0;
    QTest::newRow("roster editor F1 item") << "TOUROKU" << "mnuHelpContext_KeyWord_0" << HELP_PARTIALKEY << 0;
    QTest::newRow("roster editor help item") << "TOUROKU" << "mnuHelpContext_KeyWord_1" << HELP_CONTEXT << 43;
    QTest::newRow("roster editor toolbar 6") << "TOUROKU" << "6" << HELP_CONTEXT << 43;
    QTest::newRow("copy dialog's help button") << "FILESCOPY" << "Command1_2" << HELP_CONTEXT << 29;
    QTest::newRow("rename dialog's help button") << "RENAME" << "Command1_2" << HELP_CONTEXT << 30;
    QTest::newRow("background chooser's help button") << "SEL_MCL" << "Command1_2" << HELP_CONTEXT << 39;
}

void TestHelpViewer::helpRequests()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, command);
    QFETCH(int, data);
    TestEnv env;
    const QString path = installHelpFile(env);
    QWidget *owner = shownMain();
    if (window == "TOUROKU")
        owner = form<TOUROKU>();
    else if (window == "FILESCOPY")
        owner = form<FILESCOPY>();
    else if (window == "RENAME")
        owner = form<RENAME>();
    else if (window == "SEL_MCL")
        owner = form<SEL_MCL>();
    if (control.startsWith("mnu")) {
        QAction *action = findAction(owner, control);
        QVERIFY(action && action->isEnabled());
        action->trigger();
    } else if (control.startsWith("Command1"))
        owner->findChild<QPushButton *>(control)->click();
    else
        owner->findChild<PositionToolbar *>()->button(control.toInt())->click();
    const QList<PlatformCall> calls = env.platform.callsOf("help");
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].owner.data(), owner);
    QCOMPARE(calls[0].text, path);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{command, data}));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
