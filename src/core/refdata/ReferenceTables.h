#pragma once

#include <string>
#include <vector>

// The bank and branch tables as the maintenance windows show them and the reference import checks
// them: fields with their captions and lengths, the list's columns and order.
namespace qrv {

// One edit field of the detail page.
struct MaintenanceField {
    std::string field;    // table field
    std::string caption;  // label in front of the edit
    std::string hint;     // "*" and the name the required check reports
    bool code = false;    // the row's code: typed in upper case; read-only while editing
    int maxLength = 0;    // characters the edit takes; 0 for no limit
};

// One grid column.
struct MaintenanceColumn {
    std::string title;
    std::string field;
};

// What differs between the bank and the branch window.
struct MaintenanceForm {
    std::string table;                       // SQL name of the table
    std::vector<MaintenanceColumn> columns;  // grid columns, left to right
    std::vector<MaintenanceField> fields;    // detail fields in page order
    std::string orderBy;                     // order of the list
    bool branchButton = false;               // the bank window's Branch button
};

const MaintenanceForm& bankForm();
const MaintenanceForm& branchForm();

// Text of a code as the code edits take it: ASCII letters in upper case, everything else unchanged.
std::string UpperCaseCode(const std::string& text);
// ASCII letters in lower case, everything else unchanged.
std::string AsciiLowerCase(const std::string& text);

}  // namespace qrv
