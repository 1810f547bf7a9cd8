#include <gtest/gtest.h>

#include "ProductRun.h"
#include "base/RunCancelled.h"
#include "convert/Examples.h"
#include "convert/ReformatHistory.h"
#include "io/Platform.h"
#include "io/Sha1.h"

// Every run of "Reformat Data" is remembered, and a source converted before for the same company and
// product is refused as a repeat unless the request says to convert it again.
namespace qrv {
namespace {

std::string example(const std::string& name) {
    for (const ExampleFile& f : buildExamples(Date{2026, 12, 8})) {
        if (f.name == name) {
            return f.bytes;
        }
    }
    ADD_FAILURE() << "no example " << name;
    return {};
}

std::string sha1Of(const std::string& bytes) {
    Sha1 sha;
    sha.update(bytes);
    return HexUpper(sha.finish());
}

struct History : test::ProductRun {
    History() : ProductRun(Product::DirectCredit) {}
    std::vector<RunEntry> runs() { return RunHistory(store).list({}); }
};

TEST(ReformatHistory, ARunIsRecordedWithWhatItReadAndWrote) {
    History f;
    f.clock.set({{2026, 12, 8}, 14, 5, 9});
    f.request.companyId = "  ACME01 ";
    const std::string bytes = example("direct-credit-mistakes.txt");
    const ReformatResult result = f.run(bytes);
    ASSERT_EQ(result.outcome, Outcome::Written);
    const std::vector<RunEntry> runs = f.runs();
    ASSERT_EQ(runs.size(), 1u);
    const RunEntry& e = runs.front();
    EXPECT_EQ(e.ranAt, "2026-12-08 14:05:09");
    EXPECT_EQ(e.userName, platform::userName());
    EXPECT_FALSE(e.userName.empty());
    EXPECT_EQ(e.origin, "qrv");
    EXPECT_EQ(e.product, "DCP");
    EXPECT_EQ(e.companyId, "ACME01");  // as the records carry it
    EXPECT_EQ(e.sourcePath, f.source().string());
    EXPECT_EQ(e.sourceSize, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(e.sourceSha1, sha1Of(bytes));
    EXPECT_EQ(e.destination, (f.out / "up.txt").string());
    EXPECT_EQ(e.uploadHash, result.hash);
    EXPECT_EQ(e.uploadHash.size(), 40u);
    EXPECT_EQ(e.records, result.records);
    EXPECT_EQ(e.total, result.total);
    EXPECT_GT(e.rejected, 0);
    EXPECT_EQ(e.outcome, "completed");
    ASSERT_EQ(e.written.size(), result.written.size());
    for (size_t i = 0; i < e.written.size(); ++i) {
        EXPECT_EQ(e.written[i].kind, outputKindName(result.written[i].kind));
        EXPECT_EQ(e.written[i].path, result.written[i].path.string());
    }
    EXPECT_EQ(e.written.back().kind, "archive");

    // The window says where it came from; a dry run is no run.
    f.request.origin = RunOrigin::Window;
    f.request.again = true;
    f.reformat(f.request);
    f.request.dryRun = true;
    f.reformat(f.request);
    ASSERT_EQ(f.runs().size(), 2u);
    EXPECT_EQ(f.runs().front().origin, "window");
}

TEST(ReformatHistory, ARepeatIsRefusedUntilTheRequestSaysAgain) {
    History f;
    const std::string bytes = example("direct-credit.txt");
    ASSERT_EQ(f.run(bytes).outcome, Outcome::Written);
    const RunEntry first = f.runs().front();
    const std::string upload = test::readFile(f.out / "up.txt");

    // The same content under another name, to another destination.
    test::writeFile(f.out / "copy.txt", bytes);
    f.request.sourcePath = f.out / "copy.txt";
    f.request.destinationPath = f.out / "second.txt";
    f.events.messages.clear();
    const ReformatResult refused = f.reformat(f.request);
    EXPECT_EQ(refused.outcome, Outcome::Refused);
    EXPECT_EQ(refused.refusedField, RequestField::Source);
    EXPECT_EQ(
        f.events.texts(),
        std::vector<std::string>{"This file was converted on 2026-12-08 10:00:00 into " + first.destination +
                                 " (hash " + first.uploadHash + "). Convert it again?"});
    ASSERT_TRUE(refused.earlierRun);
    EXPECT_EQ(refused.earlierRun->uploadHash, first.uploadHash);
    EXPECT_FALSE(std::filesystem::exists(f.out / "second.txt"));
    EXPECT_EQ(f.runs().size(), 1u);  // a refused repeat did not run
    EXPECT_EQ(test::readFile(f.out / "up.txt"), upload);

    // A dry run of it is refused as the real run would be.
    f.request.dryRun = true;
    EXPECT_EQ(f.reformat(f.request).outcome, Outcome::Refused);
    f.request.dryRun = false;

    f.request.again = true;
    EXPECT_EQ(f.reformat(f.request).outcome, Outcome::Written);
    EXPECT_TRUE(std::filesystem::exists(f.out / "second.txt"));
    EXPECT_EQ(f.runs().size(), 2u);
    EXPECT_EQ(f.runs().front().sourcePath, (f.out / "copy.txt").string());

    // Another company, or another product of the same layout, converts it as a first time.
    f.request.again = false;
    f.request.companyId = "ACME09";
    EXPECT_EQ(f.reformat(f.request).outcome, Outcome::Written);
    f.request.companyId = "ACME01";
    f.request.product = Product::Payroll;
    EXPECT_FALSE(f.reformat(f.request).earlierRun);
    // One changed byte is another file.
    std::string changed = bytes;
    changed[changed.size() - 3] = changed[changed.size() - 3] == '1' ? '2' : '1';
    f.request.product = Product::DirectCredit;
    f.request.sourcePath = f.source();
    EXPECT_FALSE(f.run(changed).earlierRun);
}

TEST(ReformatHistory, AFailedOrAllRejectedRunIsNoRepeat) {
    test::ProductRun f(Product::MediaClearing);
    // Media Clearing voids its upload file for one rejected line: the run wrote no upload.
    const std::string voided = example("media-clearing-mistakes.txt");
    ASSERT_EQ(f.run(voided).outcome, Outcome::AllRejected);
    ASSERT_EQ(f.run(voided).outcome, Outcome::AllRejected);  // not refused as a repeat
    std::vector<RunEntry> runs = RunHistory(f.store).list({});
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs.front().outcome, "all rejected");
    EXPECT_TRUE(runs.front().uploadHash.empty());

    // A run that was cancelled (or failed) is recorded as such, and is no repeat either.
    const std::string good = example("media-clearing.txt");
    f.events.cancel = true;
    test::writeFile(f.source(), good);
    EXPECT_THROW(f.reformat(f.request), RunCancelled);
    f.events.cancel = false;
    EXPECT_EQ(RunHistory(f.store).list({}).front().outcome, "cancelled");
    EXPECT_EQ(f.run(good).outcome, Outcome::Written);
    EXPECT_EQ(f.run(good).outcome, Outcome::Refused);
}

// The history takes the source's content from the run's own digested reading (a first checking reading,
// or the converting one), and must take it right for the repeat to be caught.
TEST(ReformatHistory, TheContentTakenFromTheRunsOwnReadingIsTheFiles) {
    for (const auto& [product, name] : {std::pair{Product::DirectDebit100M, "direct-debit-100m.txt"},
                                        std::pair{Product::ManagerCheque, "manager-cheque.txt"},
                                        std::pair{Product::MediaClearing, "media-clearing.txt"}}) {
        test::ProductRun f(product);
        f.request.creditAccount = "0142000013";
        f.request.debitFeeAccount = "5550001116";
        f.request.processingRound = ProcessingRound::EndOfDay;
        if (product == Product::ManagerCheque) {
            test::writeFile(f.out / "invoices.txt", example("manager-cheque-invoices.txt"));
            f.request.invoicePath = f.out / "invoices.txt";
        }
        const std::string bytes = example(name);
        ASSERT_EQ(f.run(bytes).outcome, Outcome::Written) << name;
        const RunEntry e = RunHistory(f.store).list({}).front();
        EXPECT_EQ(e.sourceSha1, sha1Of(bytes)) << name;
        EXPECT_EQ(e.sourceSize, static_cast<std::int64_t>(bytes.size())) << name;
        f.request.destinationPath = f.out / "second.txt";
        EXPECT_EQ(f.run(bytes).outcome, Outcome::Refused) << name;
    }
}

// The window asks the person itself: a request that says so gets the earlier run without the message,
// and only once every other check has passed.
TEST(ReformatHistory, ARequestThatAsksGetsTheEarlierRunOnceEveryCheckPassed) {
    History f;
    ASSERT_EQ(f.run(example("direct-credit.txt")).outcome, Outcome::Written);
    const RunEntry first = f.runs().front();
    f.events.messages.clear();
    f.request.askAgain = true;
    f.request.destinationPath = f.out / "second.txt";
    f.request.debitAccount = "1234567890";  // fails its check digit
    ReformatResult r = f.reformat(f.request);
    EXPECT_EQ(f.events.texts(), std::vector<std::string>{"Invalid debit account"});
    EXPECT_FALSE(r.earlierRun);

    f.events.messages.clear();
    f.request.debitAccount = "1234567896";
    r = f.reformat(f.request);
    EXPECT_TRUE(f.events.messages.empty());
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.refusedField, RequestField::Source);
    ASSERT_TRUE(r.earlierRun);
    EXPECT_EQ(repeatQuestion(*r.earlierRun), "This file was converted on 2026-12-08 10:00:00 into " +
                                                 first.destination + " (hash " + first.uploadHash +
                                                 "). Convert it again?");
    EXPECT_FALSE(std::filesystem::exists(f.out / "second.txt"));
    EXPECT_EQ(f.runs().size(), 1u);
}

}  // namespace
}  // namespace qrv
