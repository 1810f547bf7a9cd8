#include "convert/RequestFault.h"

#include <gtest/gtest.h>

#include "convert/Reformat.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/CoverLetter.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

// A typed text longer than its window field is refused before the operation does anything, naming the
// field; limits count characters, so a Thai text of the limit goes on.
TEST(RequestFault, EachOperationRefusesATextLongerThanItsField) {
    test::OperationFixture f;
    Services services = f.services();
    ReformatRequest r;
    r.product = Product::DirectDebit100M;
    r.companyId = "บริษัททดสอบก";  // 12 characters, 36 bytes
    r.debitAccount = std::string(25, '1');
    r.creditAccount = std::string(10, '1');
    EXPECT_FALSE(requestFault(r));
    r.feeAccount = std::string(26, '2');
    r.debitFeeAccount = std::string(11, '3');
    ASSERT_TRUE(requestFault(r));
    EXPECT_EQ(requestFault(r)->field, RequestField::FeeAccount);
    EXPECT_EQ(requestFault(r)->limit, 25);
    r.feeAccount.clear();
    EXPECT_EQ(requestFault(r)->field, RequestField::DebitFeeAccount);
    r.companyId += "x";
    EXPECT_EQ(requestFault(r)->field, RequestField::CompanyId);

    const ReformatResult reformatted = reformat(r, services);
    EXPECT_EQ(reformatted.outcome, Outcome::Refused);
    EXPECT_EQ(reformatted.refusedField, RequestField::CompanyId);

    const Convert100MResult converted =
        convertTo100M({f.dir / "none.txt", "ABCDEFG", f.out / "100m.txt"}, services);
    EXPECT_EQ(converted.refusedField, RequestField::CompanyCode);
    EXPECT_FALSE(requestFault(Convert100MRequest{{}, "กขคงจฉ", {}}));

    const CoverLetterRequest letter{
        f.dir / "none.txt", "", AccountEntry::fromText("1234567890", std::string(101, 'N')), std::nullopt};
    EXPECT_EQ(printCoverLetter(letter, services).refusedField, RequestField::Account);
    EXPECT_TRUE(f.events.messages.empty());
    EXPECT_TRUE(test::listFolder(f.out).empty());
}

}  // namespace
}  // namespace qrv
