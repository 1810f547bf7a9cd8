#pragma once

#include "convert/Product.h"
#include "convert/ReformatRequest.h"
#include "convert/ReformatResult.h"
#include "convert/Services.h"

namespace qrv {

ReformatResult reformat(const ReformatRequest& request, Services& services);

// Whether "Default.ini" offers the product ("FALSE" in its key, any case, hides it; PAY covers the six
// payrolls). Direct Debit (100M) is always offered.
bool productEnabled(const DefaultSettings& settings, Product product);

}  // namespace qrv
