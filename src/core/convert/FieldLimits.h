#pragma once

namespace qrv {

// The most characters each typed text of a request holds, as the window's fields take them; the command
// line refuses a longer value as a usage error.
struct FieldLimits {
    static constexpr int edtComId = 12;           // company id
    static constexpr int edtCompanyCode = 6;      // company code of Convert 100 M
    static constexpr int edtDebitAcct = 25;       // debit account
    static constexpr int edtFeeAcct = 25;         // debit fee account
    static constexpr int CreditAccountEdit = 10;  // Direct Debit (100M) credit account
    static constexpr int DebitFeeAccEdt = 10;     // Direct Debit (100M) debit fee account
};

}  // namespace qrv
