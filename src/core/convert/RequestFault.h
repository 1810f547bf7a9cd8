#pragma once

#include <initializer_list>
#include <optional>
#include <string>

#include "convert/RunResult.h"

namespace qrv {

struct ReformatRequest;
struct Convert100MRequest;
struct CoverLetterRequest;

// A typed text of a request longer than the window's field for it holds (FieldLimits). The window's
// fields never let one through; the operation refuses it before it starts, naming the field, and a front
// end that takes texts from elsewhere (the command line) tells it against its own option.
struct RequestFault {
    RequestField field = RequestField::None;
    int limit = 0;  // the most characters the field holds
};

// The first fault of each request, the fields in this order. reformat(): company id, debit, fee, credit
// and debit fee account; convertTo100M(): company code; printCoverLetter(): the account name.
std::optional<RequestFault> requestFault(const ReformatRequest& request);
std::optional<RequestFault> requestFault(const Convert100MRequest& request);
std::optional<RequestFault> requestFault(const CoverLetterRequest& request);

// A typed text (UTF-8) of a request and the most characters its field holds.
struct LimitedText {
    RequestField field;
    const std::string& text;
    int limit;
};

// The first of `texts`, in their order, that holds more characters than its field.
std::optional<RequestFault> FirstTooLong(std::initializer_list<LimitedText> texts);

}  // namespace qrv
