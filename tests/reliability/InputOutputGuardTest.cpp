#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <utility>
#include <vector>

#include "ReliabilitySupport.h"
#include "base/FieldWidth.h"
#include "convert/TierRateFeeReport.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/HashCheck.h"
#include "convert/debit/ReturnFileComparison.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "io/InputGuards.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/workbench/WorkbenchFixture.h"

// Inputs that must not be overwritten or misread, listings that are part of the run's atomic output, and
// computed values that must fit their fields.
namespace qrv {
namespace {

namespace fs = std::filesystem;
using test::snapshot;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Guards : ::testing::Test {
    test::WorkbenchFixture fx;
    fs::path source = fx.out / "source.txt";
    ReformatRequest credit(const fs::path& destination) const {
        ReformatRequest r;
        r.product = Product::DirectCredit;
        r.companyId = "ACME01";
        r.sourcePath = source;
        r.destinationPath = destination;
        r.debitAccount = r.feeAccount = "1234567896";
        return r;
    }
    std::string lastMessage() const { return fx.ui.messages.empty() ? "" : fx.ui.messages.back().text; }
};

// The destination is an input under its own name, a symbolic link or a hard link: refused, naming both,
// before anything is written.
TEST_F(Guards, DestinationThatIsAnInputIsRefused) {
    test::writeFile(source, test::creditSource());
    fs::create_hard_link(source, fx.out / "hard.txt");
    std::vector<fs::path> destinations = {source, fx.out / "hard.txt"};
#ifndef _WIN32  // the C++ library makes no symbolic links on Windows
    fs::create_symlink(source, fx.out / "link.txt");
    destinations.push_back(fx.out / "link.txt");
#endif
    for (const fs::path& destination : destinations) {
        EXPECT_EQ(fx.reformat(credit(destination)).outcome, Outcome::Refused);
        EXPECT_TRUE(has(lastMessage(), destination.string()) &&
                    has(lastMessage(), "source file \"" + source.string()))
            << lastMessage();
    }
    ReformatRequest cheque = credit(fx.out / "invoice.txt");
    cheque.product = Product::ManagerCheque;
    test::writeFile(source, test::chequeSource());
    test::writeFile(fx.out / "invoice.txt", "");
    cheque.invoicePath = fx.out / "hard-invoice.txt";
    fs::create_hard_link(fx.out / "invoice.txt", cheque.invoicePath);
    EXPECT_EQ(fx.reformat(cheque).outcome, Outcome::Refused);
    EXPECT_TRUE(has(lastMessage(), "invoice file")) << lastMessage();

    Services services = test::servicesOf(fx);
    using test::fixedLine;
    test::writeFile(
        source,
        test::crlfLines({test::sentControl(fixedLine(30, {{1, "ACME"}}), "081226", "00001", "00000012345"),
                         test::sentDetail("1234567890", "00000012345", "SENTREF0000000001",
                                          fixedLine(31, {{1, "REST"}}))}));
    const fs::path ret = fx.out / "return.txt";
    test::writeFile(
        ret, test::crlfLines({test::returnHeader("261208"),
                              test::returnDetail(fixedLine(25, {{1, "1234567890"}}), "RETREF00000000001",
                                                 "00000012345", "0000000000123450", "V"),
                              test::returnTrailer("000001", "0000000000123450")}));
    fs::remove(fx.out / "invoice.txt");
    fs::remove(fx.out / "hard-invoice.txt");
    const auto inputs = snapshot(fx.out);
    EXPECT_EQ(compareReturnFile({source, ret, ret}, services).outcome, Outcome::Refused);
    EXPECT_TRUE(has(lastMessage(), "return file")) << lastMessage();
    EXPECT_EQ(convertTo100M({fx.out / "hard.txt", "ABC123", source}, services).outcome, Outcome::Refused);
    EXPECT_EQ(test::changedFiles(inputs, snapshot(fx.out)), std::vector<std::string>{});
}

// UTF-8 where code page 874 is expected: a byte-order mark or Thai-block sequences are refused by every
// operation that reads a customer's file; code page 874 Thai names (even with a valid UTF-8 run such as
// "เนก" = E0 B9 A1) go through.
TEST_F(Guards, Utf8SourceIsRefusedAndCodePage874Passes) {
    const std::string utf8Thai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย
    for (const std::string& text : {"\xEF\xBB\xBF" + test::creditSource(), test::creditSource(utf8Thai)}) {
        test::writeFile(source, text);
        EXPECT_EQ(fx.reformat(credit(fx.out / "up.txt")).outcome, Outcome::Refused);
        EXPECT_TRUE(has(lastMessage(), source.string()) && has(lastMessage(), "code page 874"))
            << lastMessage();
    }
    Services services = test::servicesOf(fx);
    checkDirectDebitFile({source, ""}, services);
    EXPECT_TRUE(has(lastMessage(), "code page 874"));
    tierRateFeeReport({source, fx.data / "Config.ini"}, services);
    EXPECT_TRUE(has(lastMessage(), "code page 874"));
    EXPECT_FALSE(fs::exists(fx.out / "up.txt"));

    test::writeFile(source, test::creditSource("\xCA\xC1\xAA\xD2\xC2 \xE0\xB9\xA1\xA1"));  // สมชาย เนกก
    EXPECT_EQ(fx.reformat(credit(fx.out / "up.txt")).outcome, Outcome::Written) << lastMessage();
    // A prefix that ends inside a sequence is judged on what it holds.
    EXPECT_TRUE(looksLikeUtf8Thai(utf8Thai.substr(0, 4), false));
    EXPECT_FALSE(looksLikeUtf8Thai(utf8Thai.substr(0, 4), true));
}

// A run stopped by an unexpected error (here a full disk while writing a listing) leaves the earlier
// listings as they were (it used to empty them at its start).
TEST_F(Guards, InterruptedRunKeepsTheEarlierListings) {
    test::writeFile(source, test::creditSource() + "0000000000000000000000012345NOBODY\r\n");
    ASSERT_EQ(fx.reformat(credit(fx.out / "up.txt")).outcome, Outcome::Written);
    const auto before = snapshot(fx.out);
    ASSERT_TRUE(before.count("ACME01_DCP_InvalidAcctRecord.txt"));
    test::WriteFailure full("InvalidAcctRecord", ENOSPC);
    EXPECT_THROW(fx.reformat(credit(fx.out / "up.txt")), QrvError);
    EXPECT_GT(test::WriteFailure::failures(), 0);
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
}

// A second run into the same folder and company id, made while the first is mid-run, no longer empties
// and removes the first run's listing.
TEST_F(Guards, ARunMidwayThroughAnotherKeepsItsListings) {
    struct Interleaving : test::RecordingUi {
        std::function<void()> second;
        void setProgress(int percent) override {
            if (second && percent > 0) {
                std::exchange(second, nullptr)();
            }
        }
    } events;
    const fs::path other = fx.out / "other.txt";
    test::writeFile(other, test::creditSource());
    events.second = [&] { EXPECT_EQ(fx.reformat(credit(fx.out / "up2.txt")).outcome, Outcome::Written); };
    std::string text = test::creditSource();
    text.insert(text.find("\r\n") + 2, "0000000000000000000000012345NOBODY\r\n");
    test::writeFile(source, text);
    ReformatRequest first = credit(fx.out / "up.txt");
    Services services{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), events};
    source = other;  // the second run's
    EXPECT_EQ(reformat(first, services).outcome, Outcome::Written);
    EXPECT_TRUE(events.second == nullptr) << "the second run ran";
    EXPECT_EQ(test::readFile(fx.out / "ACME01_DCP_InvalidAcctRecord.txt").substr(0, 11), "LineNo : 2 ");
}

// A total wider than its field stops the run with a message naming the field; earlier outputs stay.
TEST_F(Guards, TotalWiderThanItsFieldStopsTheRun) {
    std::string text = test::creditSource();
    const std::string line = "1234567896000000099999999999JOHN SMITH\r\n";
    for (int i = 0; i < 10001; ++i) {
        text += line;
    }
    test::writeFile(source, text);
    test::writeFile(fx.out / "up.txt", "earlier");
    const auto before = snapshot(fx.out);
    EXPECT_EQ(fx.reformat(credit(fx.out / "up.txt")).outcome, Outcome::Refused);
    EXPECT_TRUE(has(lastMessage(), "total amount")) << lastMessage();
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
    layout::RecordWriter r002(layout::kRecord002);
    EXPECT_THROW(r002.number(layout::r002::kCreditCount, 1000000), FieldOverflow);
    r002.number(layout::r002::kCreditCount, 999999);
    EXPECT_EQ(r002.record().substr(72, 6), "999999");
}

}  // namespace
}  // namespace qrv
