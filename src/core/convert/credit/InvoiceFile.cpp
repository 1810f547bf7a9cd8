#include "convert/credit/InvoiceFile.h"

#include "base/FieldHelpers.h"
#include "base/QrvError.h"

namespace qrv {

InvoiceFile::InvoiceFile(const std::string& name) : name_(name) {
    if (!name_.empty() && FileExists(name_)) {
        reader_ = std::make_unique<LineReader>(name_);
    }
}

std::string_view InvoiceFile::next() {
    if (!reader_) {
        throw QrvError("Cannot open the invoice file \"" + name_ + "\": it does not exist");
    }
    ++lineNumber_;
    std::string_view line;
    if (ended_ || !reader_->next(line)) {
        ended_ = true;
        return {};
    }
    return line;
}

}  // namespace qrv
