#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qrv {

struct ShownReport;
class OutputCommit;

enum class MessageKind { Plain, Information, Confirmation, Warning, Error };

// What an operation tells, or asks, the person while it runs: message boxes with their exact text,
// Yes/No questions, progress and the reports it shows. The window shows them, the command line prints
// them, tests record them. Texts are UTF-8.
class Events {
  public:
    virtual ~Events() = default;

    // A message box with an OK button.
    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askConfirmation(const std::string& text) = 0;
    // The progress of the run, 0..100.
    virtual void setProgress(int percent) = 0;
    // A report prepared by a runner; its `modal` tells whether the caller waits for it. A run shows its
    // reports once its outputs are in place.
    virtual void showReport(const ShownReport& report) = 0;
    // Before that, while the run prepares its outputs: a front end that also writes the report to files
    // prepares them here as outputs of the run, put in place with its other outputs.
    virtual void stageReport(const ShownReport& /*report*/, OutputCommit& /*outputs*/) {}
    // The files such a front end may write for the reports of a run (checked against the run's other
    // outputs before anything is written).
    virtual std::vector<std::filesystem::path> reportFiles() const { return {}; }
    // Whether the person asked to stop the run; long loops ask it where they report progress and end
    // the run with RunCancelled. Asked from the thread that runs the operation.
    virtual bool cancelRequested() const { return false; }
    // The run has prepared its outputs and starts to put them in place: from here on it runs to its end
    // and a cancel request is no longer honoured. Told at most once per run, from the thread that runs it.
    virtual void committing() {}
};

}  // namespace qrv
