#include "gui/reports/PdfExport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSaveFile>
#include <QTextDocument>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

#include "base/QrvError.h"
#include "gui/reports/BackgroundJob.h"

namespace qrv::gui {

namespace {

constexpr size_t kAhead = 2;  // chunks drawn ahead of the PDF

QrvError cannotWrite(const QString& file, const QString& why) {
    return QrvError("Cannot write the report to \"" + file.toStdString() + "\": " + why.toStdString());
}

// A chunk's pages as painting commands. A document is laid out and drawn on the thread that made it
// (its fonts are that thread's); the commands are replayed into the PDF on another.
using Pages = std::vector<QPicture>;

// Chunks laid out and drawn on a thread of their own, handed over in order.
class LaidOut {
  public:
    LaidOut(const PdfSource& pdf, const BackgroundJob* job) : pdf_(pdf), job_(job) {
        thread_.reset(QThread::create([this] { run(); }));
        thread_->start();
    }
    LaidOut(const LaidOut&) = delete;
    LaidOut& operator=(const LaidOut&) = delete;
    ~LaidOut() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_->wait();
    }

    // The next chunk's pages, or nothing when there are none (stopped); rethrows what went wrong there.
    std::optional<Pages> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || done_; });
        if (ready_.empty()) {
            if (error_) {
                std::rethrow_exception(error_);
            }
            return std::nullopt;
        }
        Pages pages = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return pages;
    }

  private:
    bool cancelled() const { return job_ != nullptr && job_->cancelled(); }

    void run() {
        try {
            const std::function<QString(int)> html = pdf_.source();
            for (int chunk = 0; chunk < pdf_.chunks; ++chunk) {
                const std::unique_ptr<QTextDocument> doc = pdf_.style.layOut(html(chunk));
                Pages pages(static_cast<size_t>(std::max(1, doc->pageCount())));
                for (size_t page = 0; page < pages.size(); ++page) {
                    QPainter painter(&pages[page]);
                    PaintPage(painter, *doc, static_cast<int>(page));
                }
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kAhead || stop_ || cancelled(); });
                if (stop_ || cancelled()) {
                    break;
                }
                ready_.push_back(std::move(pages));
                changed_.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            error_ = std::current_exception();
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

    const PdfSource& pdf_;
    const BackgroundJob* job_;
    std::unique_ptr<QThread> thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pages> ready_;
    std::exception_ptr error_;
    bool done_ = false;
    bool stop_ = false;
};

}  // namespace

std::optional<int> WritePdf(const QString& file, const PdfSource& pdf, const BackgroundJob* job,
                            const std::function<void(int drawn)>& progress) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        throw cannotWrite(file, out.errorString());
    }
    int written = 0;
    {
        QPdfWriter writer(&out);
        writer.setTitle(pdf.style.title);
        writer.setCreator(QStringLiteral("Convertor QRV"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 14, 12, 14), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            out.cancelWriting();
            throw cannotWrite(file, QStringLiteral("the PDF cannot be started"));
        }
        painter.scale(writer.width() / pdf.style.page.width(), writer.height() / pdf.style.page.height());
        LaidOut chunks(pdf, job);
        for (int chunk = 0; chunk < pdf.chunks; ++chunk) {
            const std::optional<Pages> pages = chunks.next();
            if (!pages || (job != nullptr && job->cancelled())) {
                painter.end();
                out.cancelWriting();
                return std::nullopt;
            }
            for (const QPicture& page : *pages) {
                if (written > 0 && !writer.newPage()) {
                    painter.end();
                    out.cancelWriting();
                    throw cannotWrite(file, QStringLiteral("a page cannot be added"));
                }
                painter.drawPicture(0, 0, page);
                ++written;
            }
            if (progress) {
                progress(chunk + 1);
            }
        }
        painter.end();
    }
    if (!out.commit()) {
        throw cannotWrite(file, out.errorString());
    }
    return written;
}

}  // namespace qrv::gui
