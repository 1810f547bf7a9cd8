#include "refdata/ReferenceTables.h"

namespace qrv {

namespace {

// The letters first..last moved by `by` (one letter case to the other), everything else unchanged.
std::string shiftAscii(std::string text, char first, char last, int by) {
    for (char& c : text) {
        if (c >= first && c <= last) {
            c = static_cast<char>(c + by);
        }
    }
    return text;
}

}  // namespace

const MaintenanceForm& bankForm() {
    static const MaintenanceForm form{
        "Bank",
        {{"Bank Code", "BANK_CODE"},
         {"Bank Name Thai", "BANK_NAME_TH"},
         {"Bank Name English", "BANK_NAME_EN"}},
        {{"BANK_CODE", "Bank Code : ", "*Bank Code", true, 3},
         {"BANK_NAME_TH", "Bank Name Thai : ", "*Bank Name Thai", false, 100},
         {"BANK_NAME_EN", "Bank Name English : ", "*Bank Name English", false, 100}},
        "BANK_NAME_EN COLLATE NOCASE, BANK_CODE",
        true};
    return form;
}

const MaintenanceForm& branchForm() {
    static const MaintenanceForm form{
        "BRANCH",
        {{"Branch Code", "BRANCH_CODE"},
         {"Branch Name Thai", "BRANCH_NAME_TH"},
         {"Branch Name English", "BRANCH_NAME_EN"},
         {"Region Code", "REGION_CODE"}},
        {{"BRANCH_CODE", "Branch Code : ", "*Branch Code", true, 4},
         {"BRANCH_NAME_TH", "Branch Name Thai : ", "*Branch Name Thai", false, 0},
         {"BRANCH_NAME_EN", "Branch Name English : ", "*Branch Name English", false, 0},
         {"REGION_CODE", "Region Code : ", "*Region Code", false, 2}},
        "BRANCH_CODE",
        false};
    return form;
}

std::string AsciiLowerCase(const std::string& text) {
    return shiftAscii(text, 'A', 'Z', 'a' - 'A');
}

std::string UpperCaseCode(const std::string& text) {
    return shiftAscii(text, 'a', 'z', 'A' - 'a');
}

}  // namespace qrv
