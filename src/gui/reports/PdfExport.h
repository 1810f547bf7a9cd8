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
};

// Writes every page of the chunks into a PDF file (A4, the preview's margins, the report's title): one
// thread renders the next chunks from the report's rows and reads them into documents while this one lays
// each out and draws it. The
// file is replaced only when complete: a failure or a cancelled job leaves an earlier file of that name as it
// was. Returns the pages written, nothing when cancelled; throws QrvError naming the file when it cannot be
// written. `progress` is told how many chunks are drawn.
std::optional<int> WritePdf(const QString& file, const PdfSource& pdf, const BackgroundJob* job,
                            const std::function<void(int drawn)>& progress);

}  // namespace qrv::gui
