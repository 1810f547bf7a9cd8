#include "cli/CliEvents.h"

#include <cstdio>
#include <fstream>

#include "base/QrvError.h"
#include "io/OutputCommit.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "reports/ReportLayouts.h"
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

// `target` written whole as a work file of the run: `write` fills a stream over it.
template <typename Write>
void stageFile(OutputCommit& outputs, const std::filesystem::path& target, Write write) {
    AtomicFile file(target);
    {
        std::ofstream out(file.tempPath(), std::ios::binary | std::ios::trunc);
        write(out);
        if (!out.flush()) {
            throw QrvError("Cannot write file \"" + target.string() + "\"");
        }
    }
    outputs.add(CommitStep::Reports, std::move(file));
}

}  // namespace

namespace {

[[noreturn]] void refuseReportFolder(const std::filesystem::path& folder, const std::string& why) {
    throw QrvError("Cannot write the reports into the folder \"" + folder.string() +
                   "\" (--report-out): " + why + ". Choose a folder you can write to");
}

}  // namespace

void CliEvents::checkReportFolder() const {
    if (!reportOut_) {
        return;
    }
    // The folder, or else the nearest folder above it that exists, in which it would be made.
    std::error_code ec;
    std::filesystem::path existing = std::filesystem::absolute(*reportOut_, ec);
    while (!std::filesystem::exists(platform::fileStatus(existing, true)) && existing.has_parent_path() &&
           existing.parent_path() != existing) {
        existing = existing.parent_path();
    }
    if (!std::filesystem::is_directory(platform::fileStatus(existing, true))) {
        refuseReportFolder(*reportOut_, "\"" + existing.string() + "\" is not a folder");
    }
    if (const std::string why = platform::whyFolderIsNotWritable(existing); !why.empty()) {
        refuseReportFolder(*reportOut_, why);
    }
}

void CliEvents::prepareReportFolder() {
    if (!reportOut_ || reportFolderReady_) {
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(*reportOut_, ec);
    const std::string why = ec ? ec.message() : platform::whyFolderIsNotWritable(*reportOut_);
    if (!why.empty()) {
        refuseReportFolder(*reportOut_, why);
    }
    reportFolderReady_ = true;
}

std::vector<std::filesystem::path> CliEvents::reportFiles() const {
    std::vector<std::filesystem::path> files;
    if (reportOut_) {
        for (const std::string& layout : LayoutFiles()) {
            const std::string stem = std::filesystem::path(layout).stem().string();
            files.push_back(*reportOut_ / (stem + ".html"));
            files.push_back(*reportOut_ / (stem + ".json"));
        }
    }
    return files;
}

void CliEvents::stageReport(const ShownReport& report, OutputCommit& outputs) {
    if (!reportOut_) {
        return;
    }
    prepareReportFolder();
    const std::string stem = std::filesystem::path(report.requestedLayout).stem().string();
    // Both files stream: a report of a million rows is never held whole.
    stageFile(outputs, *reportOut_ / (stem + ".html"), [&report](std::ostream& out) {
        if (!report.layoutFile.empty()) {
            RenderReportHtml(report, out);
        }
    });
    stageFile(outputs, *reportOut_ / (stem + ".json"),
              [&report](std::ostream& out) { WriteReportJson(report, out); });
}

}  // namespace qrv::cli
