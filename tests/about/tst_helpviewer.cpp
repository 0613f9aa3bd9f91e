// The help viewer: what each help command shows, the keyword search, a missing help file,
// and every window's help items and buttons reaching it.
#include "about/helpviewer.h"
#include "core/startup.h"
#include "mainwin/filedialogs.h"
#include "mainwin/maincolordialog.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/noprintlinedialog.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"
#include "widgets/windowbars.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

namespace
{

// The shipped help file, copied where the program looks for it.
QString installHelpFile(TestEnv &env)
{
    if (!QFile::copy(QFINDTESTDATA("../../resources/NARABIN.HLP"), env.path("NARABIN.HLP")))
        qFatal("no shipped help file");
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

class TestHelpViewer : public QObject
{
    Q_OBJECT

private slots:
    void contextOpensItsTopic_data();
    void contextOpensItsTopic();
    void contentsAndPartialKeyword();
    void missingHelpFileIsReported();
    void helpRequests_data();
    void helpRequests();
};

void TestHelpViewer::contextOpensItsTopic_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("title");
    QTest::newRow("25 NOPLINE") << 25 << "nopline" << QStringLiteral("非印刷行の設定");
    QTest::newRow("29 FILESCOPY") << 29 << "copy" << QStringLiteral("ファイルのコピー");
    QTest::newRow("30 RENAME") << 30 << "rename" << QStringLiteral("ファイル名の変更");
    QTest::newRow("39 SEL_MCL") << 39 << "background" << QStringLiteral("メイン画面の背景の選択");
    QTest::newRow("43 TOUROKU") << 43 << "roster" << QStringLiteral("登録・修正");
    QTest::newRow("47 ROOMSET") << 47 << "room" << QStringLiteral("教室の設定");
    QTest::newRow("44 COND") << 44 << "cond" << QStringLiteral("条件設定");
    QTest::newRow("48 RULELIST") << 48 << "rules" << QStringLiteral("詳しい条件");
    QTest::newRow("49 PUPILINFO") << 49 << "pupilinfo" << QStringLiteral("生徒の情報");
    QTest::newRow("46 RESULT") << 46 << "result" << QStringLiteral("ならびん結果");
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
}

void TestHelpViewer::contentsAndPartialKeyword()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    HelpViewer *v = loadedForm<HelpViewer>();
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));
    const HelpLoad load = loadHelpFile(path);
    QStringList titles;
    for (const HelpTopic *t : load.file.chapters())
        titles.append(t->title);
    QCOMPARE(titles.size(), load.file.topics.size() - 1);
    QCOMPARE(itemTexts(v->contentsList), titles);
    // Every link of the shipped file leads to one of its topics.
    static const QRegularExpression link(QStringLiteral("\\[\\[([^]|]*)"));
    for (const HelpTopic &topic : load.file.topics) {
        for (const QRegularExpressionMatch &target : link.globalMatch(topic.body))
            QVERIFY2(load.file.byId(target.captured(1)), qPrintable(topic.id + " → " + target.captured(1)));
    }

    showHelp(nullptr, path, HELP_PARTIALKEY, 0);
    QTRY_VERIFY(v->searchBox->hasFocus());
    QInputMethodEvent commit; // typed as the input method commits it
    commit.setCommitString("印刷行");
    QApplication::sendEvent(v->searchBox, &commit);
    QCOMPARE(itemTexts(v->indexList), (QStringList{"非印刷行", "非印刷行の設定"}));
    QTest::keyClick(v->searchBox, Qt::Key_Down);
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    // A word the file gives in both widths is listed once.
    v->searchBox->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"));
    QCOMPARE(itemTexts(v->indexList), QStringList{"バージョン情報"});
}

void TestHelpViewer::missingHelpFileIsReported()
{
    TestEnv env;
    loadStartupSettings(env.work());
    QWidget owner;
    showHelp(&owner, state().HelpFilePath, HELP_CONTEXT, 44);
    QCOMPARE(
        env.platform.messageLog(),
        QStringList{"ならびん君 ヘルプ|ヘルプファイル「" + QDir::toNativeSeparators(env.path("NARABIN.HLP")) +
                    "」が見つかりません。\rヘルプは表示できませんが、ならびん君はこのままお使いいただけます。|48"});
    QCOMPARE(env.platform.calls.constFirst().owner.data(), &owner);
    QVERIFY(!isLoaded<HelpViewer>());
}

void TestHelpViewer::helpRequests_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control"); // an action, a toolbar position, or the dialog's help button
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("data");
    // Each large window's F1 item, help item and help button; each dialog's help button.
    const QString f1 = QStringLiteral("mnuHelpContext_KeyWord_0"), item = QStringLiteral("mnuHelpContext_KeyWord_1");
    for (const auto &[window, button, context] : {std::tuple{"NARABIN", "12", 0}, std::tuple{"TOUROKU", "6", 43},
                                                  std::tuple{"COND", "6", 44}, std::tuple{"RESULT", "8", 46}}) {
        const int command = context ? HELP_CONTEXT : HELP_CONTENTS;
        QTest::addRow("%s F1 item", window) << window << f1 << HELP_PARTIALKEY << 0;
        QTest::addRow("%s help item", window) << window << item << command << context;
        QTest::addRow("%s toolbar %s", window, button) << window << button << command << context;
    }
    for (const auto &[dialog, context] :
         {std::pair{"NOPLINE", 25}, std::pair{"FILESCOPY", 29}, std::pair{"RENAME", 30}, std::pair{"SEL_MCL", 39}})
        QTest::addRow("%s help button", dialog) << dialog << "Command1_2" << HELP_CONTEXT << context;
}

void TestHelpViewer::helpRequests()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, command);
    QFETCH(int, data);
    TestEnv env;
    const QString path = installHelpFile(env);
    const QMap<QString, std::function<QWidget *()>> windows{{"NARABIN", [] { return shownMain(); }},
                                                            {"TOUROKU", [] { return form<RosterEditor>(); }},
                                                            {"FILESCOPY", [] { return form<FileCopyDialog>(); }},
                                                            {"RENAME", [] { return form<RenameDialog>(); }},
                                                            {"SEL_MCL", [] { return form<MainColorDialog>(); }},
                                                            {"COND", [] { return form<ConditionEditor>(); }},
                                                            {"RESULT", [] { return form<ResultWindow>(); }},
                                                            {"NOPLINE", [] { return form<NonPrintedRowsDialog>(); }}};
    QWidget *owner = windows[window]();
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
