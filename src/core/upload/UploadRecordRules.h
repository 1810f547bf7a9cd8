#pragma once

#include <cstdint>
#include <string_view>

#include "layout/Field.h"
#include "upload/UploadFault.h"

// The rule of every field of an upload record, as its layout gives its kind: digits, amounts, dates and
// codes of their lists; text without control characters; reserved columns blank.
namespace qrv {

// The layout of an upload record by its type: the header in the form asked for; nothing for another type.
const layout::Layout* uploadLayoutOf(std::string_view record, bool directDebitHeader);

// Adds a fault for every field of `record` (line `line`, of its layout's width) that breaks its rule.
void checkRecordFields(std::int64_t line, const layout::Layout& layout, std::string_view record,
                       UploadFaultList& faults);

}  // namespace qrv
