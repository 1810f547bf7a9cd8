#include "workbench/Workbench.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "store/TableStore.h"

namespace qrv {

namespace {

constexpr const char* kFileFilter = "Text File|*.txt|All File|*.*";

LayoutKind layoutFor(Choice c) {
    switch (c) {
        case Choice::Media:
        case Choice::Pay4:
        case Choice::Pay5:
        case Choice::Pay6:
            return LayoutKind::MediaClearing;
        case Choice::Mcp:
            return LayoutKind::Cheque;
        case Choice::DirectDebit100M:
            return LayoutKind::DirectDebit100M;
        case Choice::Debit:
            return LayoutKind::Hash;
        case Choice::ReturnFile:
            return LayoutKind::ReturnFile;
        case Choice::Convert100M:
            return LayoutKind::Convert;
        default:
            return LayoutKind::Credit;
    }
}

}  // namespace

Workbench::Workbench(Ui& ui, TableStore& store, const Clock& clock, AppPaths paths)
    : ui_(ui), store_(store), clock_(clock), paths_(std::move(paths)), reports_(paths_.reportFolder) {
    for (const ChoiceInfo& c : choices()) {
        enabled_[c.choice] = true;
    }
}

void Workbench::FormCreate() {
    controls[Control::lblInvoice].visible = false;
    controls[Control::edtInvoice].visible = false;
    controls[Control::btnInvoice].visible = false;
    settings_ = DefaultSettings::load(paths_.dataFolder);
    for (const ChoiceInfo& c : choices()) {
        if (const std::optional<Product> product = productForCode(c.productCode)) {
            enabled_[c.choice] = enabled_[c.choice] && productEnabled(settings_, *product);
        }
    }
    // The default product is compared exactly; only these codes select anything.
    for (const char* code : {"DCP", "PAY", "MCL", "MCP", "PA2", "PA3", "PA4", "PA5", "PA6"}) {
        if (settings_.Default == code) {
            selectProduct(choiceForProductCode(code));
            break;
        }
    }
}

bool Workbench::isEnabled(Choice choice) const {
    const auto it = enabled_.find(choice);
    return it == enabled_.end() || it->second;
}

void Workbench::selectProduct(Choice choice) {
    selected_ = choice;
    clickHandler(choice);
}

void Workbench::clickHandler(Choice choice) {
    if (choice == Choice::None || choice == Choice::DirContract) {
        return;
    }
    const bool hashShown = !fields.edtHashValue.empty();
    ControlView& printDetail = controls[Control::CheckBox1];
    switch (choice) {
        case Choice::Debit:
            printDetail.visible = false;
            fields.CheckBox1 = !hashShown;
            if (hashShown) {
                message("Clear Form");
            }
            applyLayout(controls, LayoutKind::Hash);
            return;
        case Choice::ReturnFile:
            printDetail.visible = false;
            if (hashShown) {
                message("Clear Form");
                return;
            }
            applyLayout(controls, LayoutKind::ReturnFile);
            return;
        case Choice::Convert100M:
            if (hashShown) {
                message("Please Clear Form");
                return;
            }
            applyLayout(controls, LayoutKind::Convert);
            return;
        default:
            break;
    }
    printDetail.visible = true;
    fields.CheckBox1 = false;
    if (hashShown) {
        if (choice == Choice::Direct10m) {
            message("Please Clear Form");
        } else if (choice == Choice::DirectDebit100M) {
            message(" Please, Clear Form. ");
        } else {
            message("Clear Form");
        }
    } else if (choice == Choice::DirectDebit100M) {
        fields.ProcessingRound.clear();
        run.ProcessingRoundCode = "00";
    }
    applyLayout(controls, layoutFor(choice));
}

void Workbench::bntClearFormClick() {
    fields.edtComId.clear();
    fields.edtDebitAcct.clear();
    fields.edtFeeAcct.clear();
    fields.edtSource.clear();
    fields.edtInvoice.clear();
    fields.edtDestination.clear();
    fields.edtHashValue.clear();
    fields.CheckBox1 = false;
    setProgress(0);
    fields.edtCompanyCode.clear();
    fields.ProcessingRound.clear();
    fields.DebitFeeAccEdt.clear();
    fields.CreditAccountEdit.clear();
    fields.display_AcctType_CreAcct.clear();
    fields.display_BranCode_CreAcct.clear();
    fields.display_AcctType_FeeAcct.clear();
    fields.display_BranCode_FeeAcct.clear();
    run.ProcessingRoundCode = "00";
}

void Workbench::btnCopyAcctClick() {
    fields.edtFeeAcct = fields.edtDebitAcct;
}

void Workbench::btncopyAccDDPClick() {
    fields.DebitFeeAccEdt = fields.CreditAccountEdit;
    const std::string& acct = fields.DebitFeeAccEdt;
    fields.display_AcctType_FeeAcct = acct.size() >= 4 ? acct.substr(3, 1) : "";
    fields.display_BranCode_FeeAcct = acct.substr(0, std::min<size_t>(3, acct.size()));
}

void Workbench::ProcessingRoundChange(const std::string& text) {
    fields.ProcessingRound = text;
    if (text == "Immediately") {
        run.ProcessingRoundCode = "00";
    } else if (text == "End of Day") {
        run.ProcessingRoundCode = "01";
    } else if (text == "Start of Day") {
        run.ProcessingRoundCode = "02";
    }
}

void Workbench::btnBrowseClick() {
    if (!fields.edtHashValue.empty() || fields.pgbState != 0) {
        message("Please Clear Form");
        return;
    }
    // A cancelled dialog keeps the path already there.
    if (auto chosen = ui_.chooseOpenFile(kFileFilter)) {
        fields.edtSource = std::move(*chosen);
    }
}

void Workbench::btnInvoiceClick() {
    if (auto chosen = ui_.chooseOpenFile(kFileFilter)) {
        fields.edtInvoice = std::move(*chosen);
    }
}

void Workbench::bntDestinationClick() {
    if (auto chosen = ui_.chooseSaveFile(kFileFilter, "")) {
        fields.edtDestination = std::move(*chosen);
    }
}

void Workbench::Button1Click() {
    reports_.result.loadLayout(reports_.layout("rptMclDetail.frf"));
    ui_.showReport(reports_.result.prepare(store_));
}

void Workbench::setProgress(int percent) {
    if (percent != fields.pgbState) {
        fields.pgbState = percent;
        ui_.setProgress(percent);
    }
}

}  // namespace qrv
