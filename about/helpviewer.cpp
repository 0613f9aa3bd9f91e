#include "about/helpviewer.h"

#include "platform/platform.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace
{

QString title()
{
    return QString::fromUtf8(HelpViewerTitle);
}

const QString TopicScheme = QStringLiteral("topic");

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QLatin1Char(' ') + tip + QLatin1Char(' '));
    b->setAutoDefault(false);
    return b;
}

} // namespace

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(title());
    setWindowIcon(QIcon(QStringLiteral(":/icons/narabin-32.png")));
    setFont(makeFont(Face::UIGothic, 10));
    resize(800, 560);
    setMinimumSize(560, 380);

    topicView = new QTextBrowser(this);
    topicView->setObjectName(QStringLiteral("topicView"));
    topicView->setOpenLinks(false);
    topicView->setFont(makeFont(Face::PGothic, 11));
    topicView->document()->setDefaultStyleSheet(
        QStringLiteral("h2 { color: #006000; } h3 { color: #404000; margin-top: 12px; } a { color: #0040c0; } p { "
                       "margin-bottom: 6px; }"));
    connect(topicView, &QTextBrowser::anchorClicked, this, &HelpViewer::openLink);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(makeContentsPage(), QStringLiteral("目次"));
    tabs->addTab(makeIndexPage(), QStringLiteral("キーワード"));
    tabs->setFixedWidth(260);

    auto *body = new QHBoxLayout;
    body->addWidget(tabs);
    body->addWidget(topicView, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeButtonRow());
    layout->addLayout(body, 1);

    centreOnScreen(this);
}

QWidget *HelpViewer::makeButtonRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    contentsButton = makeButton(row, "contentsButton", QStringLiteral("目次(&C)"), QStringLiteral("目次"));
    indexButton = makeButton(row, "indexButton", QStringLiteral("キーワード(&K)"), QStringLiteral("キーワードで探す"));
    backButton = makeButton(row, "backButton", QStringLiteral("戻る(&B)"), QStringLiteral("前に見たトピックへ戻る"));
    closeButton = makeButton(row, "closeButton", QStringLiteral("閉じる(&X)"), QStringLiteral("ヘルプを閉じる"));
    backButton->setEnabled(false);
    for (QPushButton *b : {contentsButton, indexButton, backButton})
        layout->addWidget(b);
    layout->addStretch(1);
    layout->addWidget(closeButton);
    connect(contentsButton, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(indexButton, &QPushButton::clicked, this, &HelpViewer::showKeywordSearch);
    connect(backButton, &QPushButton::clicked, this, &HelpViewer::goBack);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    return row;
}

QWidget *HelpViewer::makeContentsPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    contentsList = new QListWidget(page);
    contentsList->setObjectName(QStringLiteral("contentsList"));
    layout->addWidget(contentsList);
    const auto open = [this](QListWidgetItem *item) { showTopic(item->data(Qt::UserRole).toString()); };
    connect(contentsList, &QListWidget::itemClicked, this, open);
    connect(contentsList, &QListWidget::itemActivated, this, open);
    return page;
}

QWidget *HelpViewer::makeIndexPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *prompt = new QLabel(QStringLiteral("探したい言葉の一部を入力して下さい(&W):"), page);
    searchBox = new QLineEdit(page);
    searchBox->setObjectName(QStringLiteral("searchBox"));
    searchBox->setPlaceholderText(QStringLiteral("例: 印刷、コピー、空座席"));
    searchBox->setClearButtonEnabled(true);
    searchBox->installEventFilter(this);
    prompt->setBuddy(searchBox);
    indexList = new QListWidget(page);
    indexList->setObjectName(QStringLiteral("indexList"));
    noMatchLabel = new QLabel(QStringLiteral("その言葉を含むキーワードはありません。"), page);
    noMatchLabel->setObjectName(QStringLiteral("noMatchLabel"));
    noMatchLabel->setWordWrap(true);
    noMatchLabel->hide();
    showButton =
        makeButton(page, "showButton", QStringLiteral("表示(&D)"), QStringLiteral("選んだキーワードのトピックを表示"));
    for (QWidget *w : std::initializer_list<QWidget *>{prompt, searchBox, noMatchLabel, indexList, showButton})
        layout->addWidget(w);
    connect(searchBox, &QLineEdit::textChanged, this, &HelpViewer::filterIndex);
    connect(searchBox, &QLineEdit::returnPressed, this, [this] { showIndexItem(indexList->currentItem()); });
    connect(indexList, &QListWidget::itemClicked, this, &HelpViewer::showIndexItem);
    connect(indexList, &QListWidget::itemActivated, this, &HelpViewer::showIndexItem);
    connect(showButton, &QPushButton::clicked, this, [this] { showIndexItem(indexList->currentItem()); });
    return page;
}

void HelpViewer::setHelpFile(const HelpFile &file)
{
    file_ = file;
    index_ = helpIndex(file_);
    contentsList->clear();
    for (const HelpTopic *t : file_.chapters()) {
        auto *item = new QListWidgetItem(t->title, contentsList);
        item->setData(Qt::UserRole, t->id);
    }
    filterIndex(searchBox->text());
    if (!current_.isEmpty() && file_.byId(current_))
        showTopic(current_);
}

void HelpViewer::showContents()
{
    tabs->setCurrentIndex(0);
    if (file_.contents())
        showTopic(file_.contents()->id);
    else if (!file_.topics.isEmpty())
        showTopic(file_.topics.constFirst().id);
    contentsList->setFocus();
}

void HelpViewer::showKeywordSearch()
{
    tabs->setCurrentIndex(1);
    searchBox->clear();
    filterIndex(QString());
    if (current_.isEmpty() && file_.contents())
        showTopic(file_.contents()->id);
    searchBox->setFocus();
}

bool HelpViewer::showContext(int context)
{
    const HelpTopic *topic = file_.byContext(context);
    if (!topic)
        return false;
    tabs->setCurrentIndex(0);
    showTopic(topic->id);
    return true;
}

void HelpViewer::showTopic(const QString &id)
{
    const HelpTopic *topic = file_.byId(id);
    if (!topic)
        return;
    if (!current_.isEmpty() && current_ != id && (history_.isEmpty() || history_.constLast() != current_))
        history_.append(current_);
    current_ = id;
    topicView->setHtml(helpTopicHtml(file_, *topic));
    setWindowTitle(title() + QStringLiteral(" - ") + topic->title);
    selectInContents(id);
    backButton->setEnabled(!history_.isEmpty());
}

void HelpViewer::goBack()
{
    while (!history_.isEmpty()) {
        const QString id = history_.takeLast();
        if (file_.byId(id)) {
            current_.clear(); // going back records nothing
            showTopic(id);
            break;
        }
    }
    backButton->setEnabled(!history_.isEmpty());
}

void HelpViewer::selectInContents(const QString &id)
{
    const QSignalBlocker blocker(contentsList);
    contentsList->clearSelection();
    for (int row = 0; row < contentsList->count(); ++row) {
        if (contentsList->item(row)->data(Qt::UserRole).toString() == id)
            contentsList->setCurrentRow(row);
    }
}

void HelpViewer::filterIndex(const QString &typed)
{
    indexList->clear();
    for (const HelpIndexEntry &e : matchHelpIndex(index_, typed)) {
        auto *item = new QListWidgetItem(e.label, indexList);
        item->setData(Qt::UserRole, e.topicId);
    }
    if (indexList->count() > 0)
        indexList->setCurrentRow(0);
    noMatchLabel->setVisible(indexList->count() == 0);
    showButton->setEnabled(indexList->count() > 0);
}

void HelpViewer::showIndexItem(QListWidgetItem *item)
{
    if (item)
        showTopic(item->data(Qt::UserRole).toString());
}

void HelpViewer::openLink(const QUrl &url)
{
    if (url.scheme() == TopicScheme)
        showTopic(url.path());
}

void HelpViewer::present()
{
    QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        // The modality of a shown window cannot change.
        hide();
        setWindowModality(wanted);
    }
    show();
    raise();
    activateWindow();
}

void HelpViewer::closeEvent(QCloseEvent *event)
{
    event->accept();
    unloadSelf();
}

void HelpViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    // Up and down in the search box walk the matching keywords.
    if (watched == searchBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && indexList->count() > 0) {
            const int step = key == Qt::Key_Down ? 1 : -1;
            indexList->setCurrentRow(qBound(0, indexList->currentRow() + step, indexList->count() - 1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void showHelp(QWidget *owner, const QString &helpFile, int command, int data)
{
    const HelpLoad load = loadHelpFile(helpFile);
    if (!load.ok) {
        showMessage(owner, load.error, MsgStyle::Exclamation, title());
        return;
    }
    HelpViewer *viewer = form<HelpViewer>();
    viewer->setHelpFile(load.file);
    switch (command) {
    case HELP_CONTEXT:
        if (!viewer->showContext(data)) {
            showMessage(
                owner,
                QStringLiteral("ヘルプファイルに、この画面の説明（トピック番号 %1）がありません。目次を表示します。")
                    .arg(data),
                MsgStyle::Exclamation, title());
            viewer->showContents();
        }
        break;
    case HELP_PARTIALKEY: viewer->showKeywordSearch(); break;
    default: viewer->showContents(); break;
    }
    viewer->present();
}
