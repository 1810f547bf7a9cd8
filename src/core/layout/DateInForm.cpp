#include "layout/DateInForm.h"

#include <cstdio>

namespace qrv::layout {

std::string dateInForm(const Date& d, DateForm form) {
    char buf[40] = {};
    const int yy = d.year % 100;
    switch (form) {
        case DateForm::DdMmYy:
            std::snprintf(buf, sizeof buf, "%02d%02d%02d", d.day, d.month, yy);
            break;
        case DateForm::DdMmYyyy:
            std::snprintf(buf, sizeof buf, "%02d%02d%04d", d.day, d.month, d.year);
            break;
        case DateForm::YyyyMmDd:
            std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
            break;
        case DateForm::YyMmDd:
            std::snprintf(buf, sizeof buf, "%02d%02d%02d", yy, d.month, d.day);
            break;
        case DateForm::YyyyMmDdSeparated:
            std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
            break;
        case DateForm::None:
            break;
    }
    return buf;
}

}  // namespace qrv::layout
