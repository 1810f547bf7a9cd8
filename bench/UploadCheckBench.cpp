// upload-check-bench LINES [RUNS]: the check of `qrv check-upload` against sha1sum of the same upload file.
// Writes an upload of LINES lines into a temporary folder (a Media Clearing file: records 003 and 004 for
// each credit, under its hash line, header, debit record and trailer), then runs sha1sum and the check
// alternately, RUNS rounds (default 3), and prints the best wall time of each and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "convert/UploadCheck.h"
#include "io/Sha1.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"

using namespace qrv;
using namespace qrv::layout;

namespace {

std::string upload(std::int64_t credits) {
    RecordWriter header(kHeaderRecord);
    header.text(r001::kCompanyId, "BENCH01");
    for (const Field* f : {&r001::kCreationDate, &r001::kBatchDate, &r001::kValueDate}) {
        header.text(*f, "20261208");
    }
    const Money amount = Money::fromUnits(1500000);
    RecordWriter batch(kRecord002);
    batch.text(r002::kProductCode, "MCL");
    batch.text(r002::kValueDate, "20261215");
    batch.text(r002::kDebitAccount, "1234567896");
    batch.amount(r002::kTotalAmount, Money::fromUnits(amount.units() * credits));
    batch.number(r002::kCreditCount, credits);
    std::string body = header.record() + "\r\n" + batch.record() + "\r\n";
    RecordWriter credit(kRecord003);
    credit.text(r003::kDebitSequence, "00000001");
    credit.amount(r003::kAmount, amount);
    credit.text(r003::kBankCode, "002");
    credit.text(r003::kBankName, "BANK OF THE BENCH");
    RecordWriter payee(kRecord004);
    payee.text(r004::kNameEnglish, "PAYEE OF THE BENCH");
    for (std::int64_t i = 1; i <= credits; ++i) {
        credit.number(r003::kCreditSequence, i);
        credit.text(r003::kCreditAccount, std::to_string(1000000000 + i));
        payee.number(r004::kCreditSequence, i);
        body += credit.record() + "\r\n" + payee.record() + "\r\n";
    }
    RecordWriter trailer(kTrailerRecord);
    trailer.number(r999::kDebitCount, 1);
    trailer.number(r999::kCreditCount, credits);
    trailer.amount(r999::kTotalAmount, Money::fromUnits(amount.units() * credits));
    body += trailer.record() + "\r\n";
    Sha1 sha;
    sha.update(body);
    return HexUpper(sha.finish()) + "\r\n" + body;
}

template <class F>
double seconds(const F& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: upload-check-bench LINES [RUNS]\n";
        return 2;
    }
    const std::int64_t lines = std::atoll(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "upload-check-bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "MCL.up";
    std::ofstream(file, std::ios::binary) << upload((lines - 4) / 2);
    const std::string sha1sum = "sha1sum '" + file.string() + "' >/dev/null";
    double bestSha = 1e9;
    double bestCheck = 1e9;
    UploadCheckResult result;
    for (int i = 0; i < runs; ++i) {
        bestSha = std::min(bestSha, seconds([&] {
                               if (std::system(sha1sum.c_str()) != 0) {
                                   std::exit(1);
                               }
                           }));
        bestCheck = std::min(bestCheck, seconds([&] { result = checkUploadFile({file, std::nullopt, {}}); }));
    }
    std::cout << "upload: " << result.summary.lines << " lines, " << std::filesystem::file_size(file)
              << " bytes; " << result.faultCount << " faults\n";
    std::printf("sha1sum       %8.3f s\ncheck-upload  %8.3f s\nratio         %8.2f\n", bestSha, bestCheck,
                bestCheck / bestSha);
    std::filesystem::remove_all(folder);
    return result.clean() ? 0 : 1;
}
