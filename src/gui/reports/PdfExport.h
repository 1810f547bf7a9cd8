#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "gui/reports/PageStyle.h"

namespace qrv::gui {

class BackgroundJob;

// What a PDF is made of: a report's chunks, laid out in pages of `style`. `source` is called on each
// thread that renders, and gives that thread's own function from a chunk to its HTML.
struct PdfSource {
    int chunks = 0;
    std::function<std::function<QString(int chunk)>()> source;
    PageStyle style;
    // Chunks of like table rows drawn from a stamp of an earlier chunk's pages (see RowStamp), where
    // one fits, instead of from a document of their own.
    bool stampRows = true;
};

// Writes every page of the chunks into a PDF file (A4, the preview's margins, the report's title). Each
// drawing thread has a helper that renders its next chunks from the report's rows and reads them into
// documents while it lays each out and draws it. With more than one drawing thread (`threads`, 0: one per
// core, at most four) the report is cut into parts of whole chunks, each drawn into a PDF of its own, and
// the parts are joined in order (where the program is built without the joining library, one thread draws
// the whole). The file is replaced only when complete: a failure or a cancelled job leaves an earlier file
// of that name as it was. Returns the pages written, nothing when cancelled; throws QrvError naming the
// file when it cannot be written. `progress` is told, on the calling thread, how many chunks are drawn.
std::optional<int> WritePdf(const QString& file, const PdfSource& pdf, const BackgroundJob* job,
                            const std::function<void(int drawn)>& progress, int threads = 0);

}  // namespace qrv::gui
