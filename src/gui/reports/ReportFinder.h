#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace qrv::gui {

class BackgroundJob;
struct PageStyle;

// Where a text was found: characters [position, position + length) of a chunk's document.
struct FoundText {
    int chunk = 0;
    int position = 0;
    int length = 0;
};

// The text a page shows of a chunk's HTML, for a quick test: the body's text without tags, styles and
// scripts, the common character entities decoded, every blank left out and the case folded. Nothing
// when the HTML holds an entity that this does not decode.
std::optional<QString> FoldedText(const QString& html);

// Finds `text` as QTextDocument::find does (in any letter case) in the chunks of a report, from just
// after `after` in `startChunk` (from its start when `after` is -1) on, round to the start chunk's
// beginning. A chunk is parsed into a document only when its folded text holds the folded `text`, so
// thousands of pages are searched in seconds. `progress` is told how many chunks were searched; a
// cancelled job ends the search. Any thread: `html` must be the caller's own.
std::optional<FoundText> FindInChunks(const QString& text, int chunks, int startChunk, int after,
                                      const std::function<QString(int chunk)>& html, const BackgroundJob* job,
                                      const std::function<void(int searched)>& progress);

}  // namespace qrv::gui
