#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "convert/UploadCheck.h"
#include "layout/FieldRules.h"

namespace qrv::fuzz {

// An upload file read back and checked: a leading byte picks the product given (0: the one the file
// names); every record's fields are read as the viewers show them, and every fault is put into words.
void uploadTarget(const uint8_t* data, size_t size) {
    const uint8_t o = takeOption(data, size);
    Harness& h = harness();
    h.reset();
    UploadCheckRequest request{h.put("UPLOAD.txt", asView(data, size)), std::nullopt, {}};
    const auto all = products();
    if (o % (all.size() + 1) != 0) {
        request.product = all[o % (all.size() + 1) - 1].product;
    }
    std::size_t shown = 0;
    request.eachRecord = [&shown](const UploadRecordRead& r) {
        if (r.layout != nullptr) {
            for (const layout::Field& f : r.layout->fields) {
                shown += layout::columnsOf(r.text, f).size();
            }
        }
    };
    guarded([&] {
        const UploadCheckResult result = checkUploadFile(request);
        for (const UploadFault& f : result.faults) {
            shown += f.message().size() + ruleName(f).size();
        }
    });
}

}  // namespace qrv::fuzz
