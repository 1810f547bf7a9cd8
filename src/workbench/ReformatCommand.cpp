#include <algorithm>

#include "convert/Reformat.h"
#include "workbench/Workbench.h"

// "Reformat Data" in the window: the request from the fields, the operation, the result shown back.
namespace qrv {

namespace {

// The events of a run as the window sees them: the progress bar told only when it moves.
class WindowEvents : public Events {
  public:
    explicit WindowEvents(Workbench& wb) : wb_(wb) {}
    void showMessage(MessageKind kind, const std::string& text) override { wb_.ui().showMessage(kind, text); }
    bool askConfirmation(const std::string& text) override { return wb_.ui().askConfirmation(text); }
    void setProgress(int percent) override { wb_.setProgress(percent); }
    void showReport(const ShownReport& report) override { wb_.ui().showReport(report); }
    bool askAccountEntry(AccountEntryDialog& dialog) override { return wb_.ui().askAccountEntry(dialog); }

  private:
    Workbench& wb_;
};

}  // namespace

ReformatRequest Workbench::reformatRequest() const {
    ReformatRequest r;
    r.product = productForCode(choiceInfo(selected()).productCode);
    r.companyId = fields.edtComId;
    r.sourcePath = fields.edtSource;
    r.destinationPath = fields.edtDestination;
    r.invoicePath = fields.edtInvoice;
    r.debitAccount = fields.edtDebitAcct;
    r.feeAccount = fields.edtFeeAcct;
    r.creditAccount = fields.CreditAccountEdit;
    r.debitFeeAccount = fields.DebitFeeAccEdt;
    r.processingRound = fields.ProcessingRound.empty() ? ProcessingRound::None
                                                       : processingRoundForCode(run.ProcessingRoundCode);
    r.printDetail = fields.CheckBox1;
    return r;
}

void Workbench::btnActionClick() {
    const ReformatRequest request = reformatRequest();
    WindowEvents events(*this);
    Services services{store_, clock_, reports_, settings_, events};
    const ReformatResult result = reformat(request, services);
    if (result.hashShown) {
        fields.edtHashValue = result.hash;
    }
    // The account boxes of Direct Debit (100M) show the type and branch of what was checked.
    if (result.converted && request.product == Product::DirectDebit100M) {
        const auto type = [](const std::string& acct) { return acct.size() >= 4 ? acct.substr(3, 1) : ""; };
        const auto branch = [](const std::string& acct) {
            return acct.substr(0, std::min<size_t>(3, acct.size()));
        };
        fields.display_AcctType_CreAcct = type(fields.CreditAccountEdit);
        fields.display_BranCode_CreAcct = branch(fields.CreditAccountEdit);
        fields.display_AcctType_FeeAcct = type(fields.DebitFeeAccEdt);
        fields.display_BranCode_FeeAcct = branch(fields.DebitFeeAccEdt);
    }
}

}  // namespace qrv
