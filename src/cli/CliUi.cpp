#include "cli/CliUi.h"

#include <cstdio>
#include <fstream>

#include "store/Platform.h"
#include "store/QrvError.h"
#include "store/ReportRunner.h"
#include "store/WorkFile.h"
#include "workbench/AccountEntryDialog.h"

namespace qrv::cli {

CliUi::CliUi(std::ostream& out, std::optional<std::filesystem::path> reportOut)
    : out_(out), reportOut_(std::move(reportOut)), terminal_(platform::isTerminal(2)) {}

void CliUi::showMessage(MessageKind, const std::string& text) {
    finishProgress();
    messages_.push_back(text);
    out_ << text << '\n';
    out_.flush();
}

bool CliUi::askConfirmation(const std::string& text) {
    showMessage(MessageKind::Confirmation, text);
    return true;
}

void CliUi::setProgress(int percent) {
    if (!terminal_) {
        return;
    }
    std::fprintf(stderr, "\r%3d%%", percent);
    std::fflush(stderr);
    progressShown_ = true;
}

void CliUi::finishProgress() {
    if (progressShown_) {
        std::fprintf(stderr, "\r    \r");
        std::fflush(stderr);
        progressShown_ = false;
    }
}

namespace {

// Writes `target` whole or not at all: `write` fills a stream over its temporary file.
template <typename Write>
void writeAtomically(const std::filesystem::path& target, Write write) {
    AtomicFile file(target);
    {
        std::ofstream out(file.tempPath(), std::ios::binary | std::ios::trunc);
        write(out);
        if (!out.flush()) {
            throw QrvError("Cannot write file \"" + target.string() + "\"");
        }
    }
    file.commit();
}

}  // namespace

void CliUi::showReport(const ShownReport& report) {
    ++reportsShown_;
    if (!reportOut_) {
        return;
    }
    const std::string stem = std::filesystem::path(report.requestedLayout).stem().string();
    std::error_code ec;
    std::filesystem::create_directories(*reportOut_, ec);
    // Both files stream: a report of a million rows is never held whole.
    writeAtomically(*reportOut_ / (stem + ".html"), [&report](std::ostream& out) {
        if (!report.layoutFile.empty()) {
            RenderReportHtml(report, out);
        }
    });
    writeAtomically(*reportOut_ / (stem + ".json"),
                    [&report](std::ostream& out) { WriteReportJson(report, out); });
}

std::optional<std::string> CliUi::chooseOpenFile(const std::string&) {
    return std::nullopt;
}

std::optional<std::string> CliUi::chooseSaveFile(const std::string&, const std::string&) {
    return std::nullopt;
}

namespace {

// Characters `from`.. `to` (1-based, code points) of UTF-8 text; `to` < 0 for the rest.
std::string characters(const std::string& utf8, int from, int to) {
    std::string part;
    int index = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++index;
        }
        if (index >= from && (to < 0 || index <= to)) {
            part += c;
        }
    }
    return part;
}

}  // namespace

void CliUi::setAccountEntry(std::string accountNo, std::string accountName) {
    accountEntry_.emplace(std::move(accountNo), std::move(accountName));
}

bool CliUi::askAccountEntry(AccountEntryDialog& dialog) {
    if (accountEntry_) {
        const std::string& number = accountEntry_->first;
        dialog.setText(AccountField::edtAccNum1, characters(number, 1, 3));
        dialog.setText(AccountField::edtAccNum2, characters(number, 4, 4));
        dialog.setText(AccountField::edtAccNum3, characters(number, 5, 9));
        dialog.setText(AccountField::edtAccNum4, characters(number, 10, -1));
        dialog.setText(AccountField::NameAccount, accountEntry_->second);
        if (dialog.btnOKClick(*this)) {
            return true;
        }
    }
    dialog.Button1Click();
    return false;
}

}  // namespace qrv::cli
