#include "gui/reports/ReportFinder.h"

#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <utility>

#include "gui/reports/BackgroundJob.h"

namespace qrv::gui {

namespace {

// The named entities the layouts use, and the common ones beside them.
constexpr std::array<std::pair<const char*, char16_t>, 26> kEntities = {{
    {"amp", u'&'},        {"lt", u'<'},          {"gt", u'>'},          {"quot", u'"'},
    {"apos", u'\''},      {"nbsp", u'\u00A0'},   {"middot", u'\u00B7'}, {"ndash", u'\u2013'},
    {"mdash", u'\u2014'}, {"hellip", u'\u2026'}, {"copy", u'\u00A9'},   {"reg", u'\u00AE'},
    {"trade", u'\u2122'}, {"laquo", u'\u00AB'},  {"raquo", u'\u00BB'},  {"bull", u'\u2022'},
    {"times", u'\u00D7'}, {"divide", u'\u00F7'}, {"deg", u'\u00B0'},    {"plusmn", u'\u00B1'},
    {"para", u'\u00B6'},  {"sect", u'\u00A7'},   {"lsquo", u'\u2018'},  {"rsquo", u'\u2019'},
    {"ldquo", u'\u201C'}, {"rdquo", u'\u201D'},
}};

bool startsWith(const QString& html, qsizetype at, QLatin1StringView word) {
    return QStringView(html).mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Where the element that starts at `at` ("<style", "<script") ends, or at its tag's end.
qsizetype skipElement(const QString& html, qsizetype at) {
    for (const auto& [open, close] :
         {std::pair{QLatin1StringView("<style"), QLatin1StringView("</style")},
          std::pair{QLatin1StringView("<script"), QLatin1StringView("</script")}}) {
        if (startsWith(html, at, open)) {
            const qsizetype end = html.indexOf(close, at, Qt::CaseInsensitive);
            return end < 0 ? html.size() : html.indexOf(QLatin1Char('>'), end);
        }
    }
    if (startsWith(html, at, QLatin1StringView("<!--"))) {
        const qsizetype end = html.indexOf(QLatin1StringView("-->"), at);
        return end < 0 ? html.size() : end + 2;
    }
    const qsizetype end = html.indexOf(QLatin1Char('>'), at);
    return end < 0 ? html.size() : end;
}

}  // namespace

std::optional<QString> FoldedText(const QString& html) {
    QString text;
    text.reserve(html.size() / 2);
    const qsizetype body = html.indexOf(QLatin1StringView("<body"), 0, Qt::CaseInsensitive);
    qsizetype at = body < 0 ? 0 : html.indexOf(QLatin1Char('>'), body) + 1;
    for (; at < html.size(); ++at) {
        const QChar c = html[at];
        if (c == QLatin1Char('<')) {
            at = skipElement(html, at);
            continue;
        }
        if (c == QLatin1Char('&')) {
            const qsizetype end = html.indexOf(QLatin1Char(';'), at);
            if (end < 0 || end - at > 10) {
                return std::nullopt;
            }
            const QStringView name = QStringView(html).mid(at + 1, end - at - 1);
            bool decoded = false;
            if (name.startsWith(QLatin1Char('#'))) {
                const bool hex =
                    name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'));
                const uint code = name.mid(hex ? 2 : 1).toUInt(&decoded, hex ? 16 : 10);
                if (decoded) {
                    const char32_t point = code;
                    text += QString::fromUcs4(&point, 1);
                }
            } else {
                for (const auto& [entity, character] : kEntities) {
                    if (name == QLatin1StringView(entity)) {
                        text += QChar(character);
                        decoded = true;
                    }
                }
            }
            if (!decoded) {
                return std::nullopt;
            }
            at = end;
            continue;
        }
        text += c;
    }
    text.removeIf([](QChar ch) { return ch.isSpace(); });
    return text.toCaseFolded();
}

std::optional<FoundText> FindInChunks(const QString& text, int chunks, int startChunk, int after,
                                      const std::function<QString(int chunk)>& html, const BackgroundJob* job,
                                      const std::function<void(int searched)>& progress) {
    if (text.isEmpty() || chunks <= 0) {
        return std::nullopt;
    }
    QString wanted = text;
    wanted.removeIf([](QChar ch) { return ch.isSpace(); });
    wanted = wanted.toCaseFolded();
    // The start chunk after `after`, every other chunk, then the start chunk from its beginning.
    for (int step = 0; step <= chunks; ++step) {
        if (job != nullptr && job->cancelled()) {
            return std::nullopt;
        }
        const int chunk = (startChunk + step) % chunks;
        const int from = step == 0 ? after + 1 : 0;
        const QString page = html(chunk);
        const std::optional<QString> folded = FoldedText(page);
        if (!folded || folded->contains(wanted)) {
            QTextDocument doc;
            doc.setHtml(page);
            const QTextCursor found = doc.find(text, from);
            if (!found.isNull()) {
                return FoundText{chunk, found.selectionStart(),
                                 found.selectionEnd() - found.selectionStart()};
            }
        }
        if (progress) {
            progress(step + 1);
        }
    }
    return std::nullopt;
}

}  // namespace qrv::gui
