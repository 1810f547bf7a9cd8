#include "convert/RunResult.h"

namespace qrv {

std::string_view outputKindName(OutputKind kind) {
    switch (kind) {
        case OutputKind::Upload:
            return "upload";
        case OutputKind::Listing:
            return "listing";
        case OutputKind::Archive:
            return "archive";
        case OutputKind::Comparison:
            return "comparison";
        default:
            return "converted";
    }
}

}  // namespace qrv
