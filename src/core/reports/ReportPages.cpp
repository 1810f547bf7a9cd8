#include "reports/ReportPages.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "reports/ReportSnapshot.h"

namespace qrv {

namespace {

// Where `tag` ("<body", "</body") first (or last) appears, in any letter case; npos when it does not.
size_t findTag(std::string_view text, std::string_view tag, bool last) {
    size_t found = std::string_view::npos;
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (text.size() - at < tag.size()) {
            break;
        }
        bool same = true;
        for (size_t i = 0; i < tag.size() && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(text[at + i])) == tag[i];
        }
        if (same) {
            found = at;
            if (!last) {
                break;
            }
        }
    }
    return found;
}

// Counts the "<table" and "<tr" tags of rendered HTML as it grows, knowing which table is open.
class TagCounter {
  public:
    void scan(const std::string& html) {
        for (; at_ < html.size(); ++at_) {
            if (html[at_] != '<') {
                continue;
            }
            if (isTag(html, at_ + 1, "table")) {
                open_.push_back(tableRows.size());
                tableRows.push_back(0);
            } else if (isTag(html, at_ + 1, "/table")) {
                if (!open_.empty()) {
                    open_.pop_back();
                }
            } else if (isTag(html, at_ + 1, "tr") && !open_.empty()) {
                ++tableRows[open_.back()];
            }
        }
    }
    // The table open now, if any.
    bool inTable() const { return !open_.empty(); }
    size_t table() const { return open_.back(); }

    std::vector<size_t> tableRows;

  private:
    static bool isTag(const std::string& html, size_t at, std::string_view name) {
        if (html.size() - at <= name.size()) {
            return false;
        }
        for (size_t i = 0; i < name.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(html[at + i])) != name[i]) {
                return false;
            }
        }
        const char next = html[at + name.size()];
        return next == '>' || next == '/' || std::isspace(static_cast<unsigned char>(next)) != 0;
    }

    size_t at_ = 0;
    std::vector<size_t> open_;
};

}  // namespace

ReportPages::ReportPages(std::shared_ptr<const ReportSnapshot> snapshot, std::int64_t rowsPerChunk)
    : snapshot_(std::move(snapshot)), layout_(snapshot_->report(), snapshot_->reader()) {
    for (size_t i = 0; i < layout_.sectionCount(); ++i) {
        rows_.push_back(layout_.shown(i) ? snapshot_->rowCount(layout_.link(i)) : 0);
    }
    layout_.checkSize(rows_);
    const std::string_view first = layout_.part(0);
    if (const size_t body = findTag(first, "<body", false); body != std::string_view::npos) {
        head_ = first.substr(0, first.find('>', body) + 1);
    } else if (const size_t headEnd = findTag(first, "</head", false); headEnd != std::string_view::npos) {
        head_ = first.substr(0, first.find('>', headEnd) + 1);
    }
    const std::string_view last = layout_.part(layout_.sectionCount());
    if (const size_t body = findTag(last, "</body", true); body != std::string_view::npos) {
        tail_ = last.substr(body);
    } else if (const size_t html = findTag(last, "</html", true); html != std::string_view::npos) {
        tail_ = last.substr(html);
    }

    // The default chunks: a table already begun is cut once the chunk holds `rowsPerChunk` rows; a new
    // one takes its first row in the chunk it starts in, so that no chunk ends with an empty table.
    rowsPerChunk = std::max<std::int64_t>(1, rowsPerChunk);
    starts_.push_back(begin());
    std::int64_t filled = 0;  // rows in the current chunk
    for (size_t i = 0; i < layout_.sectionCount(); ++i) {
        std::int64_t at = 0;
        while (at < rows_[i]) {
            if (filled >= rowsPerChunk && at > 0 && cuttable(i)) {
                starts_.push_back({i, at});
                filled = 0;
            }
            const std::int64_t room = std::max<std::int64_t>(1, rowsPerChunk - filled);
            const std::int64_t take = cuttable(i) ? std::min(rows_[i] - at, room) : rows_[i] - at;
            at += take;
            filled += take;
        }
    }
}

bool ReportPages::cuttable(size_t section) const {
    return layout_.splittable(section);
}

std::int64_t ReportPages::rowsBetween(Position from, Position to) const {
    std::int64_t rows = 0;
    for (size_t i = from.section; i < layout_.sectionCount() && i <= to.section; ++i) {
        const std::int64_t first = i == from.section ? from.row : 0;
        const std::int64_t stop = i == to.section ? to.row : rows_[i];
        rows += std::max<std::int64_t>(0, stop - first);
    }
    return rows;
}

void ReportPages::renderRange(Position from, Position to, std::ostream& out, const WindowHook& window) const {
    const size_t sections = layout_.sectionCount();
    if (from == begin()) {
        out << layout_.part(0);
    } else {
        out << head_ << layout_.tableOpen(from.section);
    }
    for (size_t i = from.section; i < sections; ++i) {
        const std::int64_t first = i == from.section ? from.row : 0;
        const std::int64_t stop = i == to.section ? to.row : rows_[i];
        if (stop > first) {
            if (window) {
                window(i, first, stop - first, true);
            }
            layout_.renderRows(i, first, stop - first, out);
            if (window) {
                window(i, first, stop - first, false);
            }
        }
        if (i == to.section) {  // a cut: the table and the page end here
            out << layout_.tableClose(i) << tail_;
            return;
        }
        out << layout_.part(i + 1);
    }
}

void ReportPages::render(Position from, Position to, std::ostream& out) const {
    renderRange(from, to, out, nullptr);
}

std::string ReportPages::render(Position from, Position to) const {
    std::ostringstream out;
    render(from, to, out);
    return out.str();
}

std::string ReportPages::render(size_t chunk) const {
    return render(chunkStart(chunk), chunkEnd(chunk));
}

ReportPages::MarkedPage ReportPages::renderMarked(Position from, Position to) const {
    MarkedPage page;
    std::ostringstream out;
    TagCounter tags;
    size_t before = 0;     // table rows of the window's table before it
    bool marking = false;  // the window is inside a table
    renderRange(from, to, out, [&](size_t section, std::int64_t first, std::int64_t count, bool opening) {
        tags.scan(out.str());
        if (opening) {
            marking = tags.inTable();
            if (marking) {
                before = tags.tableRows[tags.table()];
                page.windows.push_back({section, first, count, tags.table(), before, 0});
            }
            return;
        }
        if (!marking) {
            return;
        }
        RowWindow& w = page.windows.back();
        const size_t added = tags.tableRows[w.table] - before;
        w.tableRowsPerRow = added % static_cast<size_t>(count) == 0 ? added / static_cast<size_t>(count) : 0;
    });
    page.html = out.str();
    tags.scan(page.html);
    page.tableRows = tags.tableRows;
    return page;
}

void ReportPages::renderWhole(std::ostream& out) const {
    for (size_t i = 0; i < layout_.sectionCount(); ++i) {
        out << layout_.part(i);
        layout_.renderRows(i, 0, -1, out);
    }
    out << layout_.part(layout_.sectionCount());
}

}  // namespace qrv
