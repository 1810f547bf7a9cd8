#pragma once

#include <QString>
#include <vector>

class QIODevice;

namespace qrv::gui {

// Writes the pages of the files `parts` (complete PDFs, in order) to `out` as one PDF: the first part's
// document information (title, creator) is kept, and every page is copied as it was drawn. Throws a
// std::exception naming what failed (a part that cannot be read, or `out` refusing bytes).
void JoinPdfParts(const std::vector<QString>& parts, QIODevice& out);

}  // namespace qrv::gui
