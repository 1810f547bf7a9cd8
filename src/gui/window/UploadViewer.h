#pragma once

#include <QString>

class QWidget;

namespace qrv {
struct UploadCheckResult;
}

namespace qrv::gui {

class SourceViewer;

// An upload file read back, in the source viewer: its records with the field under the cursor named by
// the upload records' layouts, every fault the check finds marked and listed beside it, and the check's
// result above. Reads the file (code page 874); throws QrvError naming it when it cannot.
SourceViewer* OpenUploadViewer(const QString& file, QWidget* parent);

// The check's result in the window's words: faults found, then what the file says it holds.
QString UploadCheckWords(const UploadCheckResult& check);

}  // namespace qrv::gui
