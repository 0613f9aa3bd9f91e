// The help viewer: what each help command shows, the keyword search, and a help file that is not there.
#include "about/helpviewer.h"
#include "app/startup.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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
    if (!v || !v->isVisible() || v->currentTopicId() != topicId)
        return nullptr;
    return v;
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT

private slots:
    void contextOpensItsTopic_data();
    void contextOpensItsTopic();
    void contentsListsEveryTopic();
    void partialKeyFindsTopicByPartOfAWord();
    void searchWithoutMatchSaysSo();
    void linksAndBack();
    void oneViewerBroughtToFront();
    void missingOrBrokenHelpFileIsReported_data();
    void missingOrBrokenHelpFileIsReported();
    void unknownContextShowsContents();
    void usableOverAModalDialog();
    void mainWindowHelpReachesTheViewer();
};

void TestHelpViewer::contextOpensItsTopic_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("title");
    QTest::newRow("25 NOPLINE") << 25 << QStringLiteral("nopline") << QStringLiteral("非印刷行の設定");
    QTest::newRow("29 FILESCOPY") << 29 << QStringLiteral("copy") << QStringLiteral("ファイルのコピー");
    QTest::newRow("30 RENAME") << 30 << QStringLiteral("rename") << QStringLiteral("ファイル名の変更");
    QTest::newRow("39 SEL_MCL") << 39 << QStringLiteral("background") << QStringLiteral("メイン画面の背景の選択");
    QTest::newRow("43 TOUROKU") << 43 << QStringLiteral("roster") << QStringLiteral("登録・修正");
    QTest::newRow("44 COND") << 44 << QStringLiteral("cond") << QStringLiteral("条件設定");
    QTest::newRow("46 RESULT") << 46 << QStringLiteral("result") << QStringLiteral("ならびん結果");
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
    QVERIFY(v->topicView->toPlainText().startsWith(title + QLatin1Char('\n')));
    QCOMPARE(v->contentsList->currentItem()->text(), title);
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
    const QString page = v->topicView->toPlainText();
    for (const QString &t : titles)
        QVERIFY2(page.contains(t), qPrintable(t));
    for (const int context : {25, 29, 30, 39, 43, 44, 46})
        QVERIFY(titles.contains(load.file.byContext(context)->title));

    // Picking a chapter from the list shows it.
    QListWidgetItem *copy = v->contentsList->findItems(QStringLiteral("ファイルのコピー"), Qt::MatchExactly).value(0);
    QVERIFY(copy);
    QTest::mouseClick(v->contentsList->viewport(), Qt::LeftButton, {}, v->contentsList->visualItemRect(copy).center());
    QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));
}

void TestHelpViewer::partialKeyFindsTopicByPartOfAWord()
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
    const int everything = v->indexList->count();
    QVERIFY(everything > 50);

    // Half-width kana as the menus show them find the full-width keyword too.
    typeJapanese(v->searchBox, QStringLiteral("ﾊﾞｯｸ"));
    QCOMPARE(itemTexts(v->indexList), (QStringList{QStringLiteral("バックアップ"), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ"),
                                                   QStringLiteral("ファイルの削除とバックアップ")}));
    v->searchBox->clear();
    typeJapanese(v->searchBox, QStringLiteral("印刷行"));
    QCOMPARE(itemTexts(v->indexList), (QStringList{QStringLiteral("非印刷行"), QStringLiteral("非印刷行の設定")}));
    QTest::keyClick(v->searchBox, Qt::Key_Down);
    QCOMPARE(v->indexList->currentRow(), 1);
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));

    v->searchBox->clear();
    typeJapanese(v->searchBox, QStringLiteral("ｺﾋﾟｰ先"));
    QCOMPARE(itemTexts(v->indexList), QStringList{QStringLiteral("コピー先")});
    v->showButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));

    v->searchBox->clear();
    QCOMPARE(v->indexList->count(), everything);
}

void TestHelpViewer::searchWithoutMatchSaysSo()
{
    TestEnv env;
    showHelp(nullptr, installHelpFile(env), HELP_PARTIALKEY, 0);
    HelpViewer *v = loadedForm<HelpViewer>();
    QVERIFY(v);
    QVERIFY(v->noMatchLabel->isHidden());
    typeJapanese(v->searchBox, QStringLiteral("宇宙旅行"));
    QCOMPARE(v->indexList->count(), 0);
    QVERIFY(!v->noMatchLabel->isHidden());
    QVERIFY(!v->showButton->isEnabled());
    const QString shown = v->currentTopicId();
    QTest::keyClick(v->searchBox, Qt::Key_Return);
    QCOMPARE(v->currentTopicId(), shown);
}

void TestHelpViewer::linksAndBack()
{
    TestEnv env;
    showHelp(nullptr, installHelpFile(env), HELP_CONTEXT, 46);
    HelpViewer *v = viewerShowing(QStringLiteral("result"));
    QVERIFY(v);
    QVERIFY(!v->backButton->isEnabled());
    QVERIFY(v->topicView->toHtml().contains(QStringLiteral("topic:nopline")));
    emit v->topicView->anchorClicked(QUrl(QStringLiteral("topic:nopline")));
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    emit v->topicView->anchorClicked(QUrl(QStringLiteral("topic:no-such-topic")));
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    v->contentsButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));
    v->backButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("nopline"));
    v->backButton->click();
    QCOMPARE(v->currentTopicId(), QStringLiteral("result"));
    QVERIFY(!v->backButton->isEnabled());
}

void TestHelpViewer::oneViewerBroughtToFront()
{
    TestEnv env;
    const QString path = installHelpFile(env);
    showHelp(nullptr, path, HELP_CONTEXT, 29);
    QPointer<HelpViewer> first = loadedForm<HelpViewer>();
    QVERIFY(first);
    showHelp(nullptr, path, HELP_CONTEXT, 30);
    QCOMPARE(loadedForm<HelpViewer>(), first.data());
    QCOMPARE(first->currentTopicId(), QStringLiteral("rename"));
    int viewers = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        viewers += qobject_cast<HelpViewer *>(w) && w->isVisible() ? 1 : 0;
    QCOMPARE(viewers, 1);

    // Escape closes it; the next call opens a new one.
    QTest::keyClick(first->searchBox, Qt::Key_Escape);
    QTRY_VERIFY(!first);
    showHelp(nullptr, path, HELP_CONTENTS, 0);
    QVERIFY(viewerShowing(QStringLiteral("contents")));
}

void TestHelpViewer::missingOrBrokenHelpFileIsReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray()
                             << QStringLiteral("が見つかりません。\rヘルプは表示できませんが、ならびん君はこのままお使いいただけます。");
    QTest::newRow("not a help file") << QByteArray("MZ\x90\0\x03\0\0\0", 8)
                                     << QStringLiteral("は、ならびん君のヘルプファイルではないか、壊れています。");
}

void TestHelpViewer::missingOrBrokenHelpFileIsReported()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    TestEnv env;
    loadStartupSettings(env.work());
    if (!bytes.isEmpty())
        env.writeFile(QStringLiteral("NARABIN.HLP"), bytes);
    QCOMPARE(state().HelpFilePath, env.path(QStringLiteral("NARABIN.HLP")));
    auto *owner = new QWidget;
    for (const int command : {HELP_CONTEXT, HELP_CONTENTS, HELP_PARTIALKEY})
        showHelp(owner, state().HelpFilePath, command, 44);
    const QString line = QStringLiteral("ならびん君 ヘルプ|ヘルプファイル「") + env.path(QStringLiteral("NARABIN.HLP")) +
                         QStringLiteral("」") + reason + QStringLiteral("|48");
    QCOMPARE(env.platform.messageLog(), (QStringList{line, line, line}));
    QCOMPARE(env.platform.calls.constFirst().owner.data(), owner);
    QVERIFY(!isLoaded<HelpViewer>());
    delete owner;
}

void TestHelpViewer::unknownContextShowsContents()
{
    TestEnv env;
    env.writeFile(QStringLiteral("NARABIN.HLP"), QByteArray("*topic contents\r\n*title Index\r\n*topic a 43\r\n*title A\r\n"));
    showHelp(nullptr, env.path(QStringLiteral("NARABIN.HLP")), HELP_CONTEXT, 44);
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("ならびん君 ヘルプ|ヘルプファイルに、この画面の説明（トピック番号 44）がありません。目次を表示します。|48")});
    QVERIFY(viewerShowing(QStringLiteral("contents")));
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
        showHelp(&dialog, path, HELP_CONTEXT, 29);
        // Still the one viewer, now in front of the dialog and taking input.
        QCOMPARE(loadedForm<HelpViewer>(), v.data());
        QVERIFY(v->isVisible());
        QCOMPARE(v->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), v.data());
        QCOMPARE(v->currentTopicId(), QStringLiteral("copy"));
        v->close();
        checked = true;
        dialog.accept();
    });
    dialog.exec();
    QVERIFY(checked);
    QTRY_VERIFY(!v);
}

void TestHelpViewer::mainWindowHelpReachesTheViewer()
{
    TestEnv env;
    loadStartupSettings(env.work());
    installHelpFile(env);
    NARABIN *w = form<NARABIN>();
    w->show();
    const auto forwardLastCall = [&] {
        const PlatformCall call = env.platform.callsOf(QStringLiteral("help")).constLast();
        QCOMPARE(call.owner.data(), w);
        showHelp(call.owner, call.text, call.style, call.data);
    };

    TRIGGER(w, "mnuHelpContext_KeyWord_0");
    forwardLastCall();
    HelpViewer *v = loadedForm<HelpViewer>();
    QVERIFY(v);
    QCOMPARE(v->tabs->currentIndex(), 1);
    typeJapanese(v->searchBox, QStringLiteral("空座席"));
    QVERIFY(itemTexts(v->indexList).contains(QStringLiteral("空座席")));

    TRIGGER(w, "mnuHelpContext_KeyWord_1");
    forwardLastCall();
    QCOMPARE(v->tabs->currentIndex(), 0);
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));

    v->showTopic(QStringLiteral("copy"));
    w->Toolbar1->button(12)->click();
    forwardLastCall();
    QCOMPARE(v->currentTopicId(), QStringLiteral("contents"));
    QCOMPARE(env.platform.callsOf(QStringLiteral("help")).size(), 3);
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
