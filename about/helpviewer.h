#pragma once

#include "core/helpfile.h"
#include "widgets/formregistry.h"

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QUrl;

// The program's help viewer: the contents and the keyword index on the left, the
// topic on the right. One instance, brought to the front when asked again.
class HelpViewer : public QWidget, public Form
{
    Q_OBJECT
public:
    HelpViewer();

    // Takes the topics of a freshly read help file; a typed search is kept.
    void setHelpFile(const HelpFile &file);
    void showContents();
    // The keyword index with an empty search box, ready for typing.
    void showKeywordSearch();
    // False when the file has no topic of that number.
    bool showContext(int context);
    void showTopic(const QString &id);
    void goBack();
    // Shows the viewer in front. While another window is modal the viewer is shown
    // modal too, since that window would block it otherwise.
    void present();

    QString currentTopicId() const { return current_; }
    const HelpFile &helpFile() const { return file_; }

    QPushButton *contentsButton;
    QPushButton *indexButton;
    QPushButton *backButton;
    QPushButton *closeButton;
    QTabWidget *tabs;
    QListWidget *contentsList;
    QLineEdit *searchBox;
    QListWidget *indexList;
    QLabel *noMatchLabel;
    QPushButton *showButton;
    QTextBrowser *topicView;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override; // Escape closes the viewer
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeButtonRow();
    QWidget *makeContentsPage();
    QWidget *makeIndexPage();
    void filterIndex(const QString &typed);
    void showIndexItem(QListWidgetItem *item);
    void openLink(const QUrl &url);
    void selectInContents(const QString &id);

    HelpFile file_;
    QList<HelpIndexEntry> index_;
    QStringList history_;
    QString current_;
};

// The title of the viewer and of its messages.
inline constexpr char HelpViewerTitle[] = "ならびん君 ヘルプ";

// The program's help engine: HELP_CONTENTS, HELP_PARTIALKEY or HELP_CONTEXT on a help file.
// A help file that cannot be read is reported; the caller goes on either way.
void showHelp(QWidget *owner, const QString &helpFile, int command, int data);
