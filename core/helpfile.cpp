#include "core/helpfile.h"

#include "core/textfile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>

namespace
{

const QString TopicTag = QStringLiteral("*topic");
const QString TitleTag = QStringLiteral("*title");
const QString KeywordsTag = QStringLiteral("*keywords");

// The text after a directive, or none when the line is not that directive.
std::optional<QString> directive(const QString &line, const QString &tag)
{
    if (!line.startsWith(tag))
        return std::nullopt;
    const QString rest = line.mid(tag.size());
    if (!rest.isEmpty() && !rest.at(0).isSpace())
        return std::nullopt;
    return rest.trimmed();
}

HelpTopic startTopic(const QString &header)
{
    HelpTopic topic;
    const QStringList words = header.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (!words.isEmpty())
        topic.id = words.at(0);
    if (words.size() > 1) {
        bool ok = false;
        const int context = words.at(1).toInt(&ok);
        topic.context = ok && context > 0 ? context : 0;
    }
    return topic;
}

void addKeywords(HelpTopic &topic, const QString &list)
{
    for (const QString &k : list.split(QLatin1Char(';'))) {
        const QString keyword = k.trimmed();
        if (!keyword.isEmpty() && !topic.keywords.contains(keyword))
            topic.keywords.append(keyword);
    }
}

void finishTopic(HelpFile &file, std::optional<HelpTopic> &topic)
{
    if (!topic)
        return;
    // Trailing blank lines carry nothing.
    while (topic->body.endsWith(QLatin1Char('\n')))
        topic->body.chop(1);
    const bool idTaken = topic->id.isEmpty() || file.byId(topic->id);
    const bool contextTaken = topic->context != 0 && file.byContext(topic->context);
    if (!idTaken && !contextTaken) {
        if (topic->title.isEmpty())
            topic->title = topic->id;
        file.topics.append(*topic);
    }
    topic.reset();
}

// A paragraph's text with its links made into anchors.
QString inlineHtml(const HelpFile &file, const QString &text)
{
    static const QRegularExpression link(QStringLiteral("\\[\\[([^\\]|]+)(?:\\|([^\\]]*))?\\]\\]"));
    QString html;
    qsizetype pos = 0;
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        html += text.mid(pos, m.capturedStart() - pos).toHtmlEscaped();
        const QString id = m.captured(1).trimmed();
        const HelpTopic *target = file.byId(id);
        QString shown = m.captured(2).trimmed();
        if (shown.isEmpty())
            shown = target ? target->title : id;
        if (target)
            html += QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(id.toHtmlEscaped(), shown.toHtmlEscaped());
        else
            html += shown.toHtmlEscaped();
        pos = m.capturedEnd();
    }
    html += text.mid(pos).toHtmlEscaped();
    return html;
}

QString bodyHtml(const HelpFile &file, const QString &body)
{
    QString html;
    QStringList paragraph;
    const auto flush = [&] {
        if (!paragraph.isEmpty())
            html += QStringLiteral("<p>") + paragraph.join(QStringLiteral("<br>")) + QStringLiteral("</p>\n");
        paragraph.clear();
    };
    for (const QString &line : body.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            flush();
        } else if (trimmed.startsWith(QStringLiteral("■"))) {
            flush();
            html += QStringLiteral("<h3>") + inlineHtml(file, trimmed.mid(1).trimmed()) + QStringLiteral("</h3>\n");
        } else {
            paragraph.append(inlineHtml(file, line.trimmed()));
        }
    }
    flush();
    return html;
}

QChar hiraganaOf(QChar c)
{
    const char16_t u = c.unicode();
    // Katakana ァ..ヶ sit 0x60 above their hiragana.
    if (u >= 0x30A1 && u <= 0x30F6)
        return QChar(char16_t(u - 0x60));
    return c;
}

} // namespace

const HelpTopic *HelpFile::byId(const QString &id) const
{
    for (const HelpTopic &t : topics) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

const HelpTopic *HelpFile::byContext(int context) const
{
    if (context == 0)
        return nullptr;
    for (const HelpTopic &t : topics) {
        if (t.context == context)
            return &t;
    }
    return nullptr;
}

const HelpTopic *HelpFile::contents() const
{
    return byId(QString::fromLatin1(HelpContentsId));
}

QList<const HelpTopic *> HelpFile::chapters() const
{
    QList<const HelpTopic *> out;
    for (const HelpTopic &t : topics) {
        if (t.id != QLatin1String(HelpContentsId))
            out.append(&t);
    }
    return out;
}

HelpFile parseHelpText(const QString &text)
{
    HelpFile file;
    std::optional<HelpTopic> topic;
    QString all = text;
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &line : all.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char(';')))
            continue;
        if (const auto header = directive(line, TopicTag)) {
            finishTopic(file, topic);
            topic = startTopic(*header);
        } else if (!topic) {
            continue;
        } else if (const auto title = directive(line, TitleTag)) {
            topic->title = *title;
        } else if (const auto keywords = directive(line, KeywordsTag)) {
            addKeywords(*topic, *keywords);
        } else if (!topic->body.isEmpty() || !line.trimmed().isEmpty()) {
            topic->body += line + QLatin1Char('\n');
        }
    }
    finishTopic(file, topic);
    return file;
}

HelpLoad loadHelpFile(const QString &path)
{
    HelpLoad load;
    const QString named = QStringLiteral("ヘルプファイル「") + QDir::toNativeSeparators(path) + QStringLiteral("」");
    const QFileInfo info(path);
    if (!info.exists()) {
        load.error = named + QStringLiteral("が見つかりません。") + QLatin1Char('\r') +
                     QStringLiteral("ヘルプは表示できませんが、ならびん君はこのままお使いいただけます。");
        return load;
    }
    QFile f(path);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        load.error = named + QStringLiteral("を読み込めませんでした。") + QLatin1Char('\r') +
                     QStringLiteral("ファイルの読み取りが許可されているか確認して下さい。");
        return load;
    }
    const QString broken = named + QStringLiteral("は、ならびん君のヘルプファイルではないか、壊れています。");
    if (f.size() > MaxHelpFileBytes) {
        load.error = broken;
        return load;
    }
    const QByteArray bytes = f.readAll();
    const std::optional<QString> text = decodeText(bytes);
    if (!text || bytes.contains('\0')) {
        load.error = broken;
        return load;
    }
    load.file = parseHelpText(*text);
    if (load.file.topics.isEmpty()) {
        load.error = broken;
        return load;
    }
    load.ok = true;
    return load;
}

QString helpTopicHtml(const HelpFile &file, const HelpTopic &topic)
{
    QString html = QStringLiteral("<h2>") + topic.title.toHtmlEscaped() + QStringLiteral("</h2>\n");
    html += bodyHtml(file, topic.body);
    if (topic.id == QLatin1String(HelpContentsId)) {
        html += QStringLiteral("<ul>\n");
        for (const HelpTopic *t : file.chapters())
            html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>\n")
                        .arg(t->id.toHtmlEscaped(), t->title.toHtmlEscaped());
        html += QStringLiteral("</ul>\n");
    }
    return html;
}

QString helpSearchKey(const QString &text)
{
    const QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    QString key;
    key.reserve(folded.size());
    for (QChar c : folded) {
        if (!c.isSpace())
            key.append(hiraganaOf(c));
    }
    return key;
}

QList<HelpIndexEntry> helpIndex(const HelpFile &file)
{
    QList<HelpIndexEntry> entries;
    // A word once per topic, whatever its width or kana: コピー and ｺﾋﾟｰ are one entry,
    // in the spelling the file gives first.
    QSet<QString> seen;
    for (const HelpTopic &t : file.topics) {
        QStringList words{t.title};
        words.append(t.keywords);
        for (const QString &w : words) {
            const QString key = helpSearchKey(w) + QLatin1Char('\n') + t.id;
            if (!seen.contains(key)) {
                seen.insert(key);
                entries.append({w, w, t.id});
            }
        }
    }
    QHash<QString, int> topicsPerKeyword;
    for (const HelpIndexEntry &e : entries)
        ++topicsPerKeyword[helpSearchKey(e.keyword)];
    for (HelpIndexEntry &e : entries) {
        if (topicsPerKeyword.value(helpSearchKey(e.keyword)) > 1)
            e.label = e.keyword + QStringLiteral("（") + file.byId(e.topicId)->title + QStringLiteral("）");
    }
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setNumericMode(true);
    std::stable_sort(entries.begin(), entries.end(), [&](const HelpIndexEntry &a, const HelpIndexEntry &b) {
        const int byKey = collator.compare(helpSearchKey(a.keyword), helpSearchKey(b.keyword));
        // Same reading: full-width before half-width, then by code.
        return byKey != 0 ? byKey < 0 : a.label < b.label;
    });
    return entries;
}

QList<HelpIndexEntry> matchHelpIndex(const QList<HelpIndexEntry> &index, const QString &typed)
{
    const QString wanted = helpSearchKey(typed);
    if (wanted.isEmpty())
        return index;
    QList<HelpIndexEntry> out;
    for (const HelpIndexEntry &e : index) {
        if (helpSearchKey(e.keyword).contains(wanted))
            out.append(e);
    }
    return out;
}
