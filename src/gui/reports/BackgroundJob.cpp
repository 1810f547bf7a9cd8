#include "gui/reports/BackgroundJob.h"

namespace qrv::gui {

BackgroundJob::BackgroundJob(Work work) {
    thread_.reset(QThread::create([this, work = std::move(work)] { work(*this); }));
    thread_->start();
}

BackgroundJob::~BackgroundJob() {
    cancel();
    thread_->wait();
}

}  // namespace qrv::gui
