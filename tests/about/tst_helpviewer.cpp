// The help viewer: what each help command shows, the keyword search, a help file that is
// not there, and every window's help items and buttons reaching it.
#include "about/helpviewer.h"
#include "app/startup.h"
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
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

namespace {

// The shipped help file, copied where the program looks for it.
QString installHelpFile(TestEnv &env)
{
    QFile shipped(QFINDTESTDATA("../../resources/NARABIN.HLP"));
    if (!shipped.open(QIODevice::ReadOnly))
        qFatal("no shipped help file");
    env.writeFile(QStringLiteral("NARABIN.HLP"), shipped.readAll());
    state().HelpFilePath = env.path(QStringLiteral("NARABIN.HLP"));
    return state().HelpFilePath;
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out.append(list->item(row)->text());
    return out;
}

// Text as the input method commits it.
void typeJapanese(QWidget *box, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

HelpViewer *viewerShowing(const QString &topicId)
{
    HelpViewer *v = loadedForm<HelpViewer>();
    return v && v->isVisible() && v->currentTopicId() == topicId ? v : nullptr;
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT

private slots:
    void contextOpensItsTopic_data();
    void contextOpensItsTopic();
    void contentsListsEveryTopic();
    void partialKeySearch();
    void linksBackAndOneViewer();
    void unusableHelpFileIsReported_data();
    void unusableHelpFileIsReported();
    void usableOverAModalDialog();
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
    HelpViewer *v = viewerShowing(id);
    QVERIFY(v);
    QCOMPARE(v->windowTitle(), QStringLiteral("ならびん君 ヘルプ - ") + title);
    QCOMPARE(v->tabs->currentIndex(), 0);
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestHelpViewer::contentsListsEveryTopic()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    HelpViewer *v = viewerShowing(QStringLiteral("contents"));
    QVERIFY(v);
    const HelpLoad load = loadHelpFile(path);
    QStringList titles;
    for (const HelpTopic *t : load.file.chapters())
        titles.append(t->title);
    QCOMPARE(titles.size(), load.file.topics.size() - 1);
    QCOMPARE(itemTexts(v->contentsList), titles);
    // Picking a chapter from the list shows it.
    QListWidgetItem *copy = v->contentsList->findItems(QStringLiteral("ファイルのコピー"), Qt::MatchExactly).value(0);
    QVERIFY(copy);
    QTest::mouseClick(v->contentsList->viewport(), Qt::LeftButton, {}, v->contentsList->visualItemRect(copy).center());
    QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));
}

void TestHelpViewer::partialKeySearch()
{
    TestEnv env;
    showHelp(nullptr, installHelpFile(env), HELP_CONTEXT, 43);
    HelpViewer *v = loadedForm<HelpViewer>();
    QVERIFY(v);
    v->searchBox->setText(QStringLiteral("left over"));
    showHelp(nullptr, state().HelpFilePath, HELP_PARTIALKEY, 0);
    QCOMPARE(v->tabs->currentIndex(), 1);
    QCOMPARE(v->searchBox->text(), QString());
    QTRY_VERIFY(v->searchBox->hasFocus());

    // Half-width kana as the menus show them find the full-width keyword too.
    typeJapanese(v->searchBox, QStringLiteral("ﾊﾞｯｸ"));
    QCOMPARE(itemTexts(v->indexList), (QStringList{"バックアップ", "ﾊﾞｯｸｱｯﾌﾟ", "ファイルの削除とバックアップ"}));
    v->searchBox->clear();
    typeJapanese(v->searchBox, QStringLiteral("印刷行"));
    QCOMPARE(itemTexts(v->indexList), (QStringList{"非印刷行", "非印刷行の設定"}));
    QTest::keyClick(v->searchBox, Qt::Key_Down);
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));

    // Nothing found: said so, and Return shows nothing new.
    v->searchBox->clear();
    QVERIFY(v->noMatchLabel->isHidden());
    typeJapanese(v->searchBox, QStringLiteral("宇宙旅行"));
    QCOMPARE(v->indexList->count(), 0);
    QVERIFY(!v->noMatchLabel->isHidden());
    QVERIFY(!v->showButton->isEnabled());
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
}

void TestHelpViewer::linksBackAndOneViewer()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTEXT, 46);
    QPointer<HelpViewer> v = viewerShowing(QStringLiteral("result"));
    QVERIFY(v);
    QVERIFY(!v->backButton->isEnabled());
    QVERIFY(v->topicView->toHtml().contains(QStringLiteral("topic:nopline")));
    emit v->topicView->anchorClicked(QUrl(QStringLiteral("topic:nopline")));
    emit v->topicView->anchorClicked(QUrl(QStringLiteral("topic:no-such-topic")));
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    v->contentsButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));
    v->backButton->click();
    v->backButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("result"));
    QVERIFY(!v->backButton->isEnabled());
    // One viewer, brought to the front; Escape closes it and the next call opens a new one.
    showHelp(nullptr, path, HELP_CONTEXT, 30);
    QCOMPARE(loadedForm<HelpViewer>(), v.data());
    QCOMPARE(v->currentTopicId(), QStringLiteral("rename"));
    QTest::keyClick(v->searchBox, Qt::Key_Escape);
    QTRY_VERIFY(!v);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    QVERIFY(viewerShowing(QStringLiteral("contents")));
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
        env.writeFile(QStringLiteral("NARABIN.HLP"), bytes);
    QCOMPARE(state().HelpFilePath, env.path(QStringLiteral("NARABIN.HLP")));
    QWidget owner;
    for (const int command : {HELP_CONTEXT, HELP_CONTENTS, HELP_PARTIALKEY})
        showHelp(&owner, state().HelpFilePath, command, 44);
    const QString line = QStringLiteral("ならびん君 ヘルプ|ヘルプファイル「") + env.path(QStringLiteral("NARABIN.HLP")) +
                         QStringLiteral("」") + message + QStringLiteral("|48");
    const QString noTopic =
        QStringLiteral("ならびん君 ヘルプ|ヘルプファイルに、この画面の説明（トピック番号 44）がありません。目次を表示します。|48");
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList{noTopic} : QStringList(3, line));
    QCOMPARE(env.platform.calls.constFirst().owner.data(), &owner);
    QCOMPARE(isLoaded<HelpViewer>(), message.isEmpty());
}

void TestHelpViewer::usableOverAModalDialog()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    QPointer<HelpViewer> v = loadedForm<HelpViewer>();
    QCOMPARE(v->windowModality(), Qt::NonModal);
    QDialog dialog;
    bool checked = false;
    whenModal([&] {
        auto closeAlways = qScopeGuard([&dialog] { dialog.accept(); });
        showHelp(&dialog, path, HELP_CONTEXT, 29);
        // Still the one viewer, now in front of the dialog and taking input.
        QCOMPARE(loadedForm<HelpViewer>(), v.data());
        QCOMPARE(QApplication::activeModalWidget(), v.data());
        QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));
        v->close();
        checked = true;
    });
    dialog.exec();
    QVERIFY(checked);
    QTRY_VERIFY(!v);
}

void TestHelpViewer::helpRequests_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("data");
    QTest::newRow("main window F1 item") << "mnuHelpContext_KeyWord_0" << HELP_PARTIALKEY << 0;
    QTest::newRow("main window contents item") << "mnuHelpContext_KeyWord_1" << HELP_CONTENTS << 0;
    QTest::newRow("main window toolbar 12") << "toolbar 12" << HELP_CONTENTS << 0;
    QTest::newRow("roster editor F1 item") << "TOUROKU mnuHelpContext_KeyWord_0" << HELP_PARTIALKEY << 0;
    QTest::newRow("roster editor help item") << "TOUROKU mnuHelpContext_KeyWord_1" << HELP_CONTEXT << 43;
    QTest::newRow("roster editor toolbar 6") << "TOUROKU toolbar 6" << HELP_CONTEXT << 43;
    QTest::newRow("copy dialog's help button") << "FILESCOPY" << HELP_CONTEXT << 29;
    QTest::newRow("rename dialog's help button") << "RENAME" << HELP_CONTEXT << 30;
    QTest::newRow("background chooser's help button") << "SEL_MCL" << HELP_CONTEXT << 39;
}

void TestHelpViewer::helpRequests()
{
    QFETCH(QString, how);
    QFETCH(int, command);
    QFETCH(int, data);
    TestEnv env;
    const QString path = installHelpFile(env);
    NARABIN *main = shownMain();
    QWidget *owner = main;
    if (how.startsWith(QLatin1String("mnu"))) {
        findAction(main, how)->trigger();
    } else if (how == QLatin1String("toolbar 12")) {
        main->Toolbar1->button(12)->click();
    } else if (how.startsWith(QLatin1String("TOUROKU"))) {
        TOUROKU *editor = form<TOUROKU>();
        owner = editor;
        if (how.endsWith(QLatin1String("toolbar 6")))
            editor->Toolbar1->button(6)->click();
        else
            findAction(editor, how.section(u' ', 1))->trigger();
    } else {
        const auto pressHelp = [&owner](auto *dialog) {
            owner = dialog;
            dialog->Command1[2]->click();
        };
        if (how == QLatin1String("FILESCOPY"))
            pressHelp(form<FILESCOPY>());
        else if (how == QLatin1String("RENAME"))
            pressHelp(form<RENAME>());
        else
            pressHelp(form<SEL_MCL>());
    }
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].owner.data(), owner);
    QCOMPARE(calls[0].text, path);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{command, data}));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
