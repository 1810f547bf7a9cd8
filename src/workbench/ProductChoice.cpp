#include "workbench/ProductChoice.h"

namespace qrv {

namespace {

ChoiceInfo productChoice(Choice choice, const char* control, Product product) {
    return {choice, control, productInfo(product).caption.data(), product};
}

}  // namespace

const std::vector<ChoiceInfo>& choices() {
    static const std::vector<ChoiceInfo> all = {
        productChoice(Choice::DirectCredit, "rbtDirect10m", Product::DirectCredit),
        productChoice(Choice::Payroll, "rbtPay", Product::Payroll),
        productChoice(Choice::Payroll2, "rbtPay2", Product::Payroll2),
        productChoice(Choice::Payroll3, "rbtPay3", Product::Payroll3),
        productChoice(Choice::MediaClearing, "rbtMedia", Product::MediaClearing),
        productChoice(Choice::MediaPayroll1, "rbtPay4", Product::MediaPayroll1),
        productChoice(Choice::MediaPayroll2, "rbtPay5", Product::MediaPayroll2),
        productChoice(Choice::MediaPayroll3, "rbtPay6", Product::MediaPayroll3),
        productChoice(Choice::ManagerCheque, "rbtMcp", Product::ManagerCheque),
        productChoice(Choice::DirectDebit100M, "rbtDirectDebit100M", Product::DirectDebit100M),
        {Choice::DirectDebitHash, "rbtDebit", "Direct Debit (HASH)", std::nullopt},
        {Choice::ReturnFile, "RadioButton1", "Return file Direct Debit 100 M from V5 ", std::nullopt},
        {Choice::Convert100M, "rtb100m", "Convert 100 M", std::nullopt},
        {Choice::DirectContract, "rbtDirContract", "Direct Debit", std::nullopt},
    };
    return all;
}

const ChoiceInfo& choiceInfo(Choice choice) {
    static const ChoiceInfo none{Choice::None, "", "", std::nullopt};
    for (const ChoiceInfo& c : choices()) {
        if (c.choice == choice) {
            return c;
        }
    }
    return none;
}

Choice choiceFor(Product product) {
    for (const ChoiceInfo& c : choices()) {
        if (c.product == product) {
            return c.choice;
        }
    }
    return Choice::None;
}

std::optional<layout::SourceFile> sourceFileOf(Choice choice) {
    const std::optional<Product> product = choiceInfo(choice).product;
    return product ? std::optional(productInfo(*product).source) : std::nullopt;
}

std::string_view productCodeOf(Choice choice) {
    const std::optional<Product> product = choiceInfo(choice).product;
    return product ? productCode(*product) : std::string_view();
}

}  // namespace qrv
