#pragma once

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace qrv::gui {

// Work run on a thread of its own, beside the window's: it asks cancelled() as it goes and posts what it
// finds to the window's thread itself. Cancelled and waited for when it goes, so nothing it uses is
// destroyed under it.
class BackgroundJob {
  public:
    using Work = std::function<void(const BackgroundJob& job)>;

    explicit BackgroundJob(Work work);
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;
    ~BackgroundJob();

    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    bool running() const { return thread_->isRunning(); }
    void wait() { thread_->wait(); }

  private:
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<QThread> thread_;
};

}  // namespace qrv::gui
