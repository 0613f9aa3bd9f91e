// The help viewer: what each help command shows, the keyword search, a missing help file,
// and every window's help items and buttons reaching it (and its texts fitting inside it).
#include "about/helpviewer.h"
#include "about/versioninfo.h"
#include "core/startup.h"
#include "mainwin/filedialogs.h"
#include "mainwin/maincolordialog.h"
#include "seating/noprintlinedialog.h"
#include "support/largewindows.h"
#include "widgets/windowbars.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
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
    void contentsAndPartialKeyword();
    void missingHelpFileIsReported();
    void helpRequests_data();
    void helpRequests();
};

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
    QTest::addColumn<int>("command");     // -1: the version window, shown by the program itself
    QTest::addColumn<int>("data");
    QTest::addColumn<QString>("title"); // of the topic a context opens
    // The help menu and the toolbar's help and version buttons are built alike for every large
    // window: the main window's show each of them, the others' help items their own topics. Then
    // each dialog's help button, and (no window) the topics of the windows whose tests are elsewhere.
    const QString item = QStringLiteral("mnuHelpContext_KeyWord_1");
    for (const auto &[control, command] :
         {std::pair{"mnuHelpContext_KeyWord_0", HELP_PARTIALKEY}, std::pair{"mnuHelpContext_KeyWord_1", HELP_CONTENTS},
          std::pair{"12", HELP_CONTENTS}, std::pair{"mnuVersion", -1}, std::pair{"11", -1}})
        QTest::addRow("main window %s", control) << "main window" << control << command << 0 << "";
    for (const auto &[window, context, title] :
         {std::tuple{"roster editor", 43, "登録・修正"}, std::tuple{"condition editor", 44, "条件設定"},
          std::tuple{"result window", 46, "ならびん結果"}})
        QTest::addRow("%s help item", window) << window << item << HELP_CONTEXT << context << title;
    for (const auto &[dialog, context, title] :
         {std::tuple{"NOPLINE", 25, "非印刷行の設定"}, std::tuple{"FILESCOPY", 29, "ファイルのコピー"},
          std::tuple{"RENAME", 30, "ファイル名の変更"}, std::tuple{"SEL_MCL", 39, "メイン画面の背景の選択"},
          std::tuple{"", 47, "教室の設定"}, std::tuple{"", 48, "詳しい条件"}, std::tuple{"", 49, "生徒の情報"}})
        QTest::addRow("%s context %d", dialog, context) << dialog << "Command1_2" << HELP_CONTEXT << context << title;
}

void TestHelpViewer::helpRequests()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, command);
    QFETCH(int, data);
    QFETCH(QString, title);
    TestEnv env;
    const QString path = installHelpFile(env);
    if (command == HELP_CONTEXT) {
        showHelp(nullptr, path, command, data);
        QCOMPARE(loadedForm<HelpViewer>()->windowTitle(), QStringLiteral("ならびん君 ヘルプ - ") + title);
    }
    if (window.isEmpty())
        return;
    QWidget *owner = window == QLatin1String("FILESCOPY") ? form<FileCopyDialog>()
                     : window == QLatin1String("RENAME")  ? form<RenameDialog>()
                     : window == QLatin1String("SEL_MCL") ? form<MainColorDialog>()
                     : window == QLatin1String("NOPLINE") ? static_cast<QWidget *>(form<NonPrintedRowsDialog>())
                                                          : shownLargeWindow(window);
    // What the window shows lies whole inside it: a dialog's instruction; a large window's status
    // panels, with CAPS and INS only where names are typed.
    if (const auto *d = qobject_cast<ButtonRowDialog *>(owner))
        QVERIFY(d->rect().contains(d->instruction->geometry()) &&
                d->instruction->fontMetrics().horizontalAdvance(d->instruction->text()) <= d->instruction->width());
    if (const auto *w = qobject_cast<FormWindow *>(owner)) {
        const QList<QLabel *> panels = w->statusPanels->findChildren<QLabel *>();
        QCOMPARE(panels.size(), window.endsWith(QLatin1String("editor")) ? 5 : 3);
        for (const QLabel *panel : panels)
            QVERIFY(w->statusPanels->rect().contains(panel->geometry()));
    }
    QString version = QStringLiteral("<not shown>");
    if (command < 0) {
        whenModal([&] {
            auto *shown = qobject_cast<VersionWindow *>(QApplication::activeModalWidget());
            version = shown ? shown->windowTitle() : QStringLiteral("<another window>");
            if (shown)
                shown->okButton->click();
        });
    }
    if (control.startsWith("mnu")) {
        QAction *action = findAction(owner, control);
        QVERIFY(action && action->isEnabled());
        action->trigger();
    } else if (control.startsWith("Command1"))
        owner->findChild<QPushButton *>(control)->click();
    else
        owner->findChild<PositionToolbar *>()->button(control.toInt())->click();
    if (command < 0) {
        QCOMPARE(version, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        return;
    }
    const QList<PlatformCall> calls = env.platform.callsOf("help");
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].owner.data(), owner);
    QCOMPARE(calls[0].text, path);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{command, data}));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
