#include "convert/RequestFault.h"

#include "base/CharacterCount.h"

namespace qrv {

std::optional<RequestFault> FirstTooLong(std::initializer_list<LimitedText> texts) {
    for (const LimitedText& t : texts) {
        if (CharacterCount(t.text) > t.limit) {
            return RequestFault{t.field, t.limit};
        }
    }
    return std::nullopt;
}

}  // namespace qrv
