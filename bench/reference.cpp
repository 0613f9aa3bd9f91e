// The yardstick for the program's start-up: an empty main window of the same size
// (a 635 x 437 client area under a menu bar) with Japanese menus, a toolbar and a
// status bar, and nothing behind them.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("比較用の窓"));
    window.menuBar()->setNativeMenuBar(false);

    const struct {
        QString title;
        QStringList items;
    } menus[] = {
        {QStringLiteral("ﾌｧｲﾙ(&F)"),
         {QStringLiteral("新規作成(&N)"), QStringLiteral("開く(&O)..."), QStringLiteral("終了(&X)")}},
        {QStringLiteral("ﾃﾞｰﾀ管理(&M)"),
         {QStringLiteral("ｺﾋﾟｰ(&C)..."), QStringLiteral("名前の変更(&R)..."), QStringLiteral("削除(&D)...")}},
        {QStringLiteral("過去ﾛｸﾞ(&L)"), {QStringLiteral("先程の結果(&R)")}},
        {QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"), {QStringLiteral("初期設定(&I)"), QStringLiteral("条件設定の変更(&C)")}},
        {QStringLiteral("ﾍﾙﾌﾟ(&H)"), {QStringLiteral("目次(&C)"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")}},
    };
    for (const auto &menu : menus) {
        QMenu *m = window.menuBar()->addMenu(menu.title);
        for (const QString &item : menu.items)
            m->addAction(item);
    }

    QToolBar *toolbar = window.addToolBar(QStringLiteral("ツールバー"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(16, 16));
    const struct {
        QStyle::StandardPixmap icon;
        QString tip;
    } buttons[] = {
        {QStyle::SP_FileIcon, QStringLiteral("名簿の新規作成")},
        {QStyle::SP_DialogOpenButton, QStringLiteral("名簿を開く")},
        {QStyle::SP_MediaPlay, QStringLiteral("ならびん実行")},
        {QStyle::SP_DialogHelpButton, QStringLiteral("ヘルプ")},
    };
    for (const auto &b : buttons)
        toolbar->addAction(window.style()->standardIcon(b.icon), QString())->setToolTip(b.tip);

    for (const QString &text :
         {QStringLiteral("名簿: なし"), QStringLiteral("令和8年12月7日"), QStringLiteral("午前 10:00")})
        window.statusBar()->addPermanentWidget(new QLabel(text));
    window.statusBar()->showMessage(QStringLiteral("準備完了"));

    window.setCentralWidget(new QWidget);
    window.setFixedSize(635, 437 + window.menuBar()->sizeHint().height());
    window.show();
    return app.exec();
}
