#include "store/Schema.h"

#include <strings.h>

namespace qrv {
namespace {

FieldDef text(const char* name) {
    return {name, FieldKind::Text};
}
FieldDef real(const char* name) {
    return {name, FieldKind::Float};
}
FieldDef currency(const char* name) {
    return {name, FieldKind::Currency};
}
FieldDef integer(const char* name) {
    return {name, FieldKind::Integer};
}

}  // namespace

const std::vector<TableDef>& schemaTables() {
    static const std::vector<TableDef> tables = {
        {"Bank", {text("BANK_CODE"), text("BANK_NAME_TH"), text("BANK_NAME_EN")}, "BANK_CODE"},
        {"BRANCH",
         {text("BRANCH_CODE"), text("BANK_CODE"), text("BRANCH_NAME_TH"), text("BRANCH_NAME_EN"),
          text("REGION_CODE")},
         "BRANCH_CODE, BANK_CODE"},
        {"WHT_FORM_TYPE", {text("FORM_TYPE"), text("FORM_DESC_TH"), text("FORM_DESC_EN")}, "FORM_TYPE"},
        {"WHT_TAX_TYPE", {text("TAX_TYPE"), text("TAX_DESC_TH"), text("TAX_DESC_EN")}, "TAX_TYPE"},
        {"WHT_PAY_TYPE", {text("PAY_TYPE"), text("PAY_DESC_TH"), text("PAY_DESC_EN")}, "PAY_TYPE"},
        {"Dcp_Detail", {text("AcNo"), real("Amount"), text("Name")}, ""},
        {"Dcp_Err", {text("LnNo"), text("FieldName"), text("ColNo"), text("DesErr")}, ""},
        {"Mcl_Detail",
         {text("Acct"), text("BankCode"), text("BranchCode"), text("Name"), text("ServiceType"),
          real("Amount")},
         ""},
        {"Mcp_Detail",
         {text("ID"), text("Name"), text("RefNo"), text("TaxId"), text("TaxAttach"), text("TaxRun"),
          text("TaxDate"), text("TaxPaid"), text("TaxForm"), real("CAmount"), real("WhtAmount"),
          real("VatAmount"), real("InvoiceAmount")},
         ""},
        {"Wht_Detail",
         {text("CreditId"), text("WhtId"), text("IncomeType"), text("IncomeDescription"), text("Rate"),
          real("IncomeAmount"), real("WhtAmount")},
         ""},
        {"Invoice_Detail",
         {text("CreditId"), text("InvoiceId"), text("InvoiceNo"), text("InvoiceDate"), text("PoNo"),
          real("InvoiceAmount"), real("VatAmount"), real("WhtAmount"), real("ChargeAmount")},
         ""},
        {"ErrorDirect100M",
         {text("line"), text("column"), text("field"), text("error_col"), text("account")},
         ""},
        {"completeDirectDebit100M", {text("line"), text("account"), text("name"), real("error_col")}, ""},
        {"Report_Hash", {text("id_field"), text("Name"), text("Account_No"), real("Amount")}, ""},
        {"Report_Hash_Error",
         {text("id_field"), text("Field Name Error"), text("Detail Error"), integer("CountLine")},
         ""},
        {"DDR_FileCompare",
         {text("Account_No"), text("Reference_Id"), currency("Amount"), text("Result")},
         ""},
    };
    return tables;
}

const TableDef* findTable(std::string_view name) {
    for (const TableDef& t : schemaTables()) {
        if (t.name.size() == name.size() && strncasecmp(t.name.c_str(), name.data(), name.size()) == 0) {
            return &t;
        }
    }
    return nullptr;
}

bool isReferenceTable(std::string_view name) {
    for (const std::string_view reference :
         {"Bank", "BRANCH", "WHT_FORM_TYPE", "WHT_TAX_TYPE", "WHT_PAY_TYPE"}) {
        if (reference == name) {
            return true;
        }
    }
    return false;
}

std::string whtViewSql() {
    return "Select  *  From  Wht_Detail , WHT_FORM_TYPE ,WHT_TAX_TYPE ,\n"
           "Mcp_Detail   left outer  join   WHT_PAY_TYPE  on Mcp_Detail.TaxPaid= WHT_PAY_TYPE.PAY_TYPE\n"
           "where Mcp_Detail.ID =  Wht_Detail.CreditId AND Mcp_Detail.TaxForm=WHT_FORM_TYPE.FORM_TYPE  AND "
           "Wht_Detail.IncomeType=WHT_TAX_TYPE.TAX_TYPE";
}

std::string invoiceViewSql() {
    return "Select * from Mcp_Detail, Invoice_Detail where Mcp_Detail.ID=Invoice_Detail.CreditId";
}

const std::vector<std::string>& runHistoryStatements() {
    // Local time as "yyyy-mm-dd hh:mm:ss"; the total in ten-thousandths of a baht; the files written as
    // a JSON array of {"kind", "path"}.
    static const std::vector<std::string> statements = {
        "CREATE TABLE IF NOT EXISTS RunHistory (RunId INTEGER PRIMARY KEY, RanAt TEXT NOT NULL, "
        "UserName TEXT NOT NULL, Origin TEXT NOT NULL, Product TEXT NOT NULL, CompanyId TEXT NOT NULL, "
        "SourcePath TEXT NOT NULL, SourceSize INTEGER NOT NULL, SourceSha1 TEXT NOT NULL, "
        "Destination TEXT NOT NULL, UploadHash TEXT NOT NULL, Records INTEGER NOT NULL, Total CURRENCY, "
        "Rejected INTEGER NOT NULL, Outcome TEXT NOT NULL, Written TEXT NOT NULL)",
        "CREATE INDEX IF NOT EXISTS RunHistoryByTime ON RunHistory (RanAt)",
        "CREATE INDEX IF NOT EXISTS RunHistoryBySource ON RunHistory (CompanyId, Product, SourceSize)",
    };
    return statements;
}

}  // namespace qrv
