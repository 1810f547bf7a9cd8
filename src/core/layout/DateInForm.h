#pragma once

#include <string>

#include "base/Date.h"
#include "layout/Field.h"

namespace qrv::layout {

// A date written in `form` (the year's last two digits where the form has two; "/" between the parts of
// yyyy?mm?dd); empty for no form.
std::string dateInForm(const Date& date, DateForm form);

}  // namespace qrv::layout
