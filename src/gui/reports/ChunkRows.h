#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace qrv::gui {

// A chunk's HTML read as a run of like table rows between a beginning and an end: the longest run of
// rows written alike (the same tags, only the cells' texts differ), each cell plain text. White space is
// folded as a document folds it (none at the start, each run one blank); a cell holding a tag, an entity
// other than those the report's values are escaped with, or other white space (a no-break space) ends the
// run there, so the texts are exactly what a document read from the HTML holds.
struct ChunkRows {
    QString prefix;                  // the HTML before the run
    QString row;                     // the tags of each row of the run, the texts left out
    QString suffix;                  // the HTML after the run
    std::vector<QStringList> cells;  // the texts of each row's cells, in order

    bool found() const { return !cells.empty(); }
    // True when the two are the same but for their rows' texts and count.
    bool sameFrame(const ChunkRows& other) const {
        return row == other.row && prefix == other.prefix && suffix == other.suffix;
    }

    static ChunkRows read(const QString& html);
};

}  // namespace qrv::gui
