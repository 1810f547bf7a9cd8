#include "gui/reports/PdfExport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

constexpr size_t kAhead = 2;  // chunks rendered ahead of the drawing

QrvError cannotWrite(const QString& file, const QString& why) {
    return QrvError("Cannot write the report to \"" + file.toStdString() + "\": " + why.toStdString());
}

// The chunks rendered from the report's rows and read into documents on a thread of their own, handed
// over in order. A document is laid out where it is drawn: its fonts belong to the thread that laid it
// out, and two threads must not use them at once.
class Rendered {
  public:
    Rendered(const PdfSource& pdf, const BackgroundJob* job) : pdf_(pdf), job_(job) {
        QThread* drawing = QThread::currentThread();
        thread_.reset(QThread::create([this, drawing] { run(drawing); }));
        thread_->start();
    }
    Rendered(const Rendered&) = delete;
    Rendered& operator=(const Rendered&) = delete;
    ~Rendered() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_->wait();
    }

    // The next chunk's document, or null when there is none (stopped); rethrows what went wrong there.
    std::unique_ptr<QTextDocument> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || done_; });
        if (ready_.empty()) {
            if (error_) {
                std::rethrow_exception(error_);
            }
            return nullptr;
        }
        std::unique_ptr<QTextDocument> doc = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return doc;
    }

  private:
    bool cancelled() const { return job_ != nullptr && job_->cancelled(); }

    void run(QThread* drawing) {
        try {
            const std::function<QString(int)> html = pdf_.source();
            for (int chunk = 0; chunk < pdf_.chunks; ++chunk) {
                std::unique_ptr<QTextDocument> doc = pdf_.style.parse(html(chunk));
                doc->moveToThread(drawing);
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kAhead || stop_ || cancelled(); });
                if (stop_ || cancelled()) {
                    break;
                }
                ready_.push_back(std::move(doc));
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
    std::deque<std::unique_ptr<QTextDocument>> ready_;
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
        Rendered chunks(pdf, job);
        for (int chunk = 0; chunk < pdf.chunks; ++chunk) {
            const std::unique_ptr<QTextDocument> doc = chunks.next();
            if (!doc || (job != nullptr && job->cancelled())) {
                painter.end();
                out.cancelWriting();
                return std::nullopt;
            }
            doc->setPageSize(pdf.style.page);
            const int pages = std::max(1, doc->pageCount());
            for (int page = 0; page < pages; ++page) {
                if (written > 0 && !writer.newPage()) {
                    painter.end();
                    out.cancelWriting();
                    throw cannotWrite(file, QStringLiteral("a page cannot be added"));
                }
                PaintPage(painter, *doc, page);
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
