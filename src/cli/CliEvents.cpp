#include "cli/CliEvents.h"

#include <cstdio>
#include <fstream>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "reports/ReportRunner.h"

namespace qrv::cli {

CliEvents::CliEvents(std::ostream& out, std::optional<std::filesystem::path> reportOut, bool printMessages)
    : out_(out),
      reportOut_(std::move(reportOut)),
      printMessages_(printMessages),
      terminal_(platform::isTerminal(2)) {}

void CliEvents::showMessage(MessageKind kind, const std::string& text) {
    finishProgress();
    messages_.emplace_back(kind, text);
    if (printMessages_) {
        out_ << text << '\n';
        out_.flush();
    }
}

bool CliEvents::askConfirmation(const std::string& text) {
    showMessage(MessageKind::Confirmation, text);
    return true;
}

void CliEvents::setProgress(int percent) {
    if (!terminal_) {
        return;
    }
    std::fprintf(stderr, "\r%3d%%", percent);
    std::fflush(stderr);
    progressShown_ = true;
}

void CliEvents::finishProgress() {
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

void CliEvents::showReport(const ShownReport& report) {
    if (!reportOut_) {
        return;
    }
    const std::string stem = std::filesystem::path(report.requestedLayout).stem().string();
    std::error_code ec;
    std::filesystem::create_directories(*reportOut_, ec);
    const std::string why = ec ? ec.message() : platform::whyFolderIsNotWritable(*reportOut_);
    if (!why.empty()) {
        throw QrvError("Cannot write the reports into the folder \"" + reportOut_->string() +
                       "\" (--report-out): " + why + ". Choose a folder you can write to");
    }
    // Both files stream: a report of a million rows is never held whole.
    writeAtomically(*reportOut_ / (stem + ".html"), [&report](std::ostream& out) {
        if (!report.layoutFile.empty()) {
            RenderReportHtml(report, out);
        }
    });
    writeAtomically(*reportOut_ / (stem + ".json"),
                    [&report](std::ostream& out) { WriteReportJson(report, out); });
}

}  // namespace qrv::cli
