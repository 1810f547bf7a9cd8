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
    bool cancelRequested() const override { return wb_.ui().cancelRequested(); }
    bool askAccountEntry(AccountEntryDialog& dialog) override { return wb_.ui().askAccountEntry(dialog); }

  private:
    Workbench& wb_;
};

}  // namespace

ReformatRequest Workbench::reformatRequest() const {
    ReformatRequest r;
    r.product = productForCode(choiceInfo(selected()).productCode);
    r.companyId = fields.companyId;
    r.sourcePath = fields.sourcePath;
    r.destinationPath = fields.destinationPath;
    r.invoicePath = fields.secondFilePath;
    r.debitAccount = fields.debitAccount;
    r.feeAccount = fields.feeAccount;
    r.creditAccount = fields.creditAccount;
    r.debitFeeAccount = fields.debitFeeAccount;
    r.processingRound = fields.processingRound.empty() ? ProcessingRound::None
                                                       : processingRoundForCode(run.ProcessingRoundCode);
    r.printDetail = fields.printDetail;
    return r;
}

void Workbench::reformat() {
    const ReformatRequest request = reformatRequest();
    WindowEvents events(*this);
    Services services{store_, clock_, reports_, settings_, events};
    const ReformatResult result = qrv::reformat(request, services);
    lastResult = result;
    if (result.hashShown) {
        fields.hashValue = result.hash;
    }
    // The account boxes of Direct Debit (100M) show the type and branch of what was checked.
    if (result.converted && request.product == Product::DirectDebit100M) {
        const auto type = [](const std::string& acct) { return acct.size() >= 4 ? acct.substr(3, 1) : ""; };
        const auto branch = [](const std::string& acct) {
            return acct.substr(0, std::min<size_t>(3, acct.size()));
        };
        fields.creditAccountType = type(fields.creditAccount);
        fields.creditBranch = branch(fields.creditAccount);
        fields.feeAccountType = type(fields.debitFeeAccount);
        fields.feeBranch = branch(fields.debitFeeAccount);
    }
}

}  // namespace qrv
