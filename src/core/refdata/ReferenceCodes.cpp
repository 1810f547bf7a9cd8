#include "refdata/ReferenceCodes.h"

#include <strings.h>

#include <array>

namespace qrv {

namespace {

constexpr std::array<ReferenceCode, 4> kCodes = {{
    {"Bank", "BANK_CODE", "Bank Code", 3},
    {"BRANCH", "BRANCH_CODE", "Branch Code", 4},
    {"BRANCH", "BANK_CODE", "Bank Code", 3},
    {"BRANCH", "REGION_CODE", "Region Code", 2},
}};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

const ReferenceCode* ReferenceCodeOf(std::string_view table, std::string_view field) {
    for (const ReferenceCode& code : kCodes) {
        if (sameName(code.table, table) && sameName(code.field, field)) {
            return &code;
        }
    }
    return nullptr;
}

bool IsReferenceCode(const ReferenceCode& code, std::string_view value) {
    if (value.size() != static_cast<size_t>(code.digits)) {
        return false;
    }
    for (const char c : value) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace qrv
