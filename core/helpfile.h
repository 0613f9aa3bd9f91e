#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The program's help file MainWindow.HLP: plain text (UTF-8, or CP932 as the program's
// other files), made of topics:
//
//   ; a comment line
//   *topic copy 29          id of the topic, then its context number (optional)
//   *title ファイルのコピー
//   *keywords コピー; 複写; ファイル
//   Body text. A blank line starts a new paragraph, a line starting with "■" is a
//   heading, [[rename]] or [[rename|名前の変更]] links to another topic.
//
// The topic with the id "contents" is the contents page.

struct HelpTopic {
    QString id;
    int context = 0; // 0: the topic has no context number
    QString title;
    QStringList keywords;
    QString body;
};

struct HelpFile {
    QList<HelpTopic> topics; // in file order

    const HelpTopic *byId(const QString &id) const;
    const HelpTopic *byContext(int context) const;
    const HelpTopic *contents() const;
    // Every topic but the contents page, in file order.
    QList<const HelpTopic *> chapters() const;
};

inline constexpr char HelpContentsId[] = "contents";

// Reads help text. Lines before the first topic are ignored; a second topic with an
// id or context number already taken is dropped, so a link or number always finds
// the first one.
HelpFile parseHelpText(const QString &text);

struct HelpLoad {
    bool ok = false;
    HelpFile file;
    QString error; // for the user, naming the file, when !ok
};

inline constexpr qint64 MaxHelpFileBytes = 4 * 1024 * 1024;
HelpLoad loadHelpFile(const QString &path);

// A topic as HTML for the viewer: title, paragraphs, headings and links
// ("topic:<id>"); the contents page ends with a link to every chapter.
QString helpTopicHtml(const HelpFile &file, const HelpTopic &topic);

// The keyword index: every keyword and every title, pointing to its topic.
struct HelpIndexEntry {
    QString keyword;
    QString label; // what the index shows: the keyword, and the topic title when the keyword has several topics
    QString topicId;
};
QList<HelpIndexEntry> helpIndex(const HelpFile &file);

// The entries whose keyword contains `typed`, ignoring letter case, full and half
// width, hiragana against katakana and blanks. Empty `typed`: all entries.
QList<HelpIndexEntry> matchHelpIndex(const QList<HelpIndexEntry> &index, const QString &typed);
// The form two keywords are compared in.
QString helpSearchKey(const QString &text);
