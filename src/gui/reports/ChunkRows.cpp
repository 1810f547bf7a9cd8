#include "gui/reports/ChunkRows.h"

#include <optional>

namespace qrv::gui {

namespace {

// The entities a report's values are escaped with.
struct Entity {
    QStringView name;
    QChar ch;
};
constexpr Entity kEntities[] = {
    {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};

bool isTagAt(QStringView html, qsizetype at, QStringView name) {
    if (!html.mid(at).startsWith(name)) {
        return false;
    }
    const qsizetype after = at + name.size();
    return after < html.size() && (html[after] == u'>' || html[after] == u' ');
}

// The text of a cell as a document reads it, or nothing when the HTML might read otherwise.
std::optional<QString> cellText(QStringView raw) {
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'&') {
            bool known = false;
            for (const Entity& e : kEntities) {
                if (raw.mid(i).startsWith(e.name)) {
                    text += e.ch;
                    i += e.name.size() - 1;
                    known = true;
                    break;
                }
            }
            if (!known) {
                return std::nullopt;
            }
        } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
            // As a document reads HTML: none at the start, a run of white space one blank (at the end too),
            // so a value with the blanks of its field's width (a payee's name) reads as it shows.
            if (!text.isEmpty() && text.back() != u' ') {
                text += u' ';
            }
        } else if (c.isSpace() || c.category() == QChar::Other_Control ||
                   c == QChar::ObjectReplacementCharacter || c == QChar::ByteOrderMark) {
            return std::nullopt;
        } else {
            text += c;
        }
    }
    return text;
}

struct Row {
    qsizetype end = 0;  // after the row and the white space that follows it
    QString tags;
    QStringList cells;
};

// The row whose "<tr" tag is at `at`: cells of plain text only, nothing between them.
std::optional<Row> readRow(QStringView html, qsizetype at) {
    Row row;
    qsizetype tagEnd = html.indexOf(u'>', at);
    if (tagEnd < 0) {
        return std::nullopt;
    }
    row.tags = html.mid(at, tagEnd + 1 - at).toString();
    qsizetype pos = tagEnd + 1;
    for (;;) {
        if (isTagAt(html, pos, u"<td")) {
            tagEnd = html.indexOf(u'>', pos);
            if (tagEnd < 0) {
                return std::nullopt;
            }
            row.tags += html.mid(pos, tagEnd + 1 - pos);
            const qsizetype close = html.indexOf(u'<', tagEnd + 1);
            if (close < 0 || !html.mid(close).startsWith(u"</td>")) {
                return std::nullopt;
            }
            std::optional<QString> text = cellText(html.mid(tagEnd + 1, close - tagEnd - 1));
            if (!text) {
                return std::nullopt;
            }
            row.cells.push_back(std::move(*text));
            row.tags += u"</td>";
            pos = close + 5;
        } else if (html.mid(pos).startsWith(u"</tr>")) {
            pos += 5;
            while (pos < html.size() && (html[pos] == u'\n' || html[pos] == u'\r' || html[pos] == u' ')) {
                row.tags += html[pos++];
            }
            row.end = pos;
            return row;
        } else {
            return std::nullopt;
        }
    }
}

}  // namespace

ChunkRows ChunkRows::read(const QString& html) {
    const QStringView view(html);
    qsizetype bestStart = 0;
    qsizetype bestEnd = 0;
    std::vector<QStringList> best;
    QString bestTags;

    qsizetype runStart = 0;
    qsizetype runEnd = -1;
    std::vector<QStringList> run;
    QString runTags;
    const auto keep = [&] {
        if (run.size() > best.size()) {
            best = std::move(run);
            bestTags = runTags;
            bestStart = runStart;
            bestEnd = runEnd;
        }
        run.clear();
    };
    for (qsizetype at = view.indexOf(u"<tr"); at >= 0; at = view.indexOf(u"<tr", at + 1)) {
        if (!isTagAt(view, at, u"<tr")) {
            continue;
        }
        std::optional<Row> row = readRow(view, at);
        if (!row || at != runEnd || row->tags != runTags) {
            keep();
        }
        if (!row) {
            runEnd = -1;
            continue;
        }
        if (run.empty()) {
            runStart = at;
            runTags = row->tags;
        }
        run.push_back(std::move(row->cells));
        runEnd = row->end;
        at = row->end - 1;
    }
    keep();
    ChunkRows rows;
    if (best.empty()) {
        return rows;
    }
    rows.prefix = html.left(bestStart);
    rows.row = bestTags;
    rows.suffix = html.mid(bestEnd);
    rows.cells = std::move(best);
    return rows;
}

}  // namespace qrv::gui
