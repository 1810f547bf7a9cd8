#include "gui/reports/PdfJoin.h"

#include <qpdf/Pl_Function.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>
#include <QIODevice>
#include <memory>
#include <stdexcept>

namespace qrv::gui {

void JoinPdfParts(const std::vector<QString>& parts, QIODevice& out) {
    if (parts.empty()) {
        throw std::invalid_argument("no PDF to join");
    }
    // The parts stay open until the whole is written: their pages' content is read from them then.
    std::vector<std::unique_ptr<QPDF>> docs;
    for (const QString& part : parts) {
        auto doc = std::make_unique<QPDF>();
        doc->setSuppressWarnings(true);
        doc->processFile(QFile::encodeName(part).constData());
        docs.push_back(std::move(doc));
    }
    QPDFPageDocumentHelper joined(*docs.front());
    for (size_t i = 1; i < docs.size(); ++i) {
        for (const QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*docs[i]).getAllPages()) {
            joined.addPage(page, false);
        }
    }
    Pl_Function sink("pdf file", nullptr, [&out](unsigned char const* data, size_t length) {
        const auto bytes = static_cast<qint64>(length);
        if (out.write(reinterpret_cast<const char*>(data), bytes) != bytes) {
            throw std::runtime_error(out.errorString().toStdString());
        }
    });
    QPDFWriter writer(*docs.front());
    writer.setOutputPipeline(&sink);
    writer.setDecodeLevel(qpdf_dl_none);  // the drawn pages' streams go as they are, not recompressed
    writer.write();
}

}  // namespace qrv::gui
