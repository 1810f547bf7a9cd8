#include "gui/reports/PdfExport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

#include "base/QrvError.h"
#include "gui/reports/BackgroundJob.h"
#ifdef QRV_HAVE_QPDF
#include "gui/reports/PdfJoin.h"
#endif

namespace qrv::gui {

namespace {

constexpr size_t kAhead = 2;        // chunks rendered ahead of the drawing
constexpr int kPartsPerThread = 4;  // parts of the PDF per drawing thread, so that none waits long idle
constexpr int kMostThreads = 4;     // drawing threads at most

using Stop = std::function<bool()>;

QrvError cannotWrite(const QString& file, const QString& why) {
    return QrvError("Cannot write the report to \"" + file.toStdString() + "\": " + why.toStdString());
}

// The chunks [first, end) rendered from the report's rows and read into documents on a thread of their
// own, handed over in order. A document is laid out where it is drawn: its fonts belong to the thread
// that laid it out, and two threads must not use them at once.
class Rendered {
  public:
    Rendered(const PdfSource& pdf, int first, int end, Stop stop)
        : pdf_(pdf), first_(first), end_(end), stopped_(std::move(stop)) {
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
    void run(QThread* drawing) {
        try {
            const std::function<QString(int)> html = pdf_.source();
            for (int chunk = first_; chunk < end_; ++chunk) {
                std::unique_ptr<QTextDocument> doc = pdf_.style.parse(html(chunk));
                doc->moveToThread(drawing);
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kAhead || stop_ || stopped_(); });
                if (stop_ || stopped_()) {
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
    const int first_;
    const int end_;
    const Stop stopped_;
    std::unique_ptr<QThread> thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<QTextDocument>> ready_;
    std::exception_ptr error_;
    bool done_ = false;
    bool stop_ = false;
};

// Draws the pages of chunks [first, end) into `device` as a PDF of its own (A4, the preview's margins,
// the report's title). Returns the pages drawn, nothing when stopped; `drawn` is told of each chunk.
std::optional<int> drawChunks(QIODevice& device, const QString& file, const PdfSource& pdf, int first,
                              int end, const Stop& stop, const std::function<void()>& drawn) {
    QPdfWriter writer(&device);
    writer.setTitle(pdf.style.title);
    writer.setCreator(QStringLiteral("Convertor QRV"));
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(12, 14, 12, 14), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) {
        throw cannotWrite(file, QStringLiteral("the PDF cannot be started"));
    }
    painter.scale(writer.width() / pdf.style.page.width(), writer.height() / pdf.style.page.height());
    int written = 0;
    Rendered chunks(pdf, first, end, stop);
    for (int chunk = first; chunk < end; ++chunk) {
        const std::unique_ptr<QTextDocument> doc = chunks.next();
        if (!doc || stop()) {
            painter.end();
            return std::nullopt;
        }
        doc->setPageSize(pdf.style.page);
        const int pages = std::max(1, doc->pageCount());
        for (int page = 0; page < pages; ++page) {
            if (written > 0 && !writer.newPage()) {
                painter.end();
                throw cannotWrite(file, QStringLiteral("a page cannot be added"));
            }
            PaintPage(painter, *doc, page);
            ++written;
        }
        drawn();
    }
    painter.end();
    return written;
}

#ifdef QRV_HAVE_QPDF

// Threads that are waited for when they go, so that nothing they use is destroyed under them.
class Threads {
  public:
    Threads() = default;
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;
    ~Threads() {
        for (const auto& thread : threads_) {
            thread->wait();
        }
    }
    void start(const std::function<void()>& work) {
        threads_.emplace_back(QThread::create(work));
        threads_.back()->start();
    }

  private:
    std::vector<std::unique_ptr<QThread>> threads_;
};

// The report cut into parts of whole chunks, each drawn into a PDF of its own by the next free thread
// of `threads`, and the parts joined in order into `out`. Returns the pages, nothing when cancelled.
std::optional<int> writeInParts(QIODevice& out, const QString& file, const PdfSource& pdf,
                                const BackgroundJob* job, const std::function<void(int drawn)>& progress,
                                int threads) {
    const int parts = std::min(pdf.chunks, threads * kPartsPerThread);
    const auto partStart = [&pdf, parts](int part) {
        return static_cast<int>(static_cast<long long>(pdf.chunks) * part / parts);
    };
    // The parts go to temporary files, so that what is held does not grow with the report.
    std::vector<std::unique_ptr<QTemporaryFile>> files;
    std::vector<QString> names;
    for (int part = 0; part < parts; ++part) {
        files.push_back(std::make_unique<QTemporaryFile>());
        if (!files.back()->open()) {
            throw cannotWrite(file,
                              QStringLiteral("no temporary file for a part: ") + files.back()->errorString());
        }
        names.push_back(files.back()->fileName());
    }
    std::vector<int> pages(static_cast<size_t>(parts), 0);
    std::mutex mutex;
    std::condition_variable changed;
    int nextPart = 0;
    int running = threads;
    int drawn = 0;
    std::exception_ptr error;
    std::atomic<bool> failed{false};
    const Stop stop = [job, &failed] { return failed || (job != nullptr && job->cancelled()); };
    const auto work = [&] {
        for (;;) {
            int part = 0;
            {
                const std::lock_guard lock(mutex);
                if (nextPart == parts || stop()) {
                    break;
                }
                part = nextPart++;
            }
            try {
                QTemporaryFile& partFile = *files[static_cast<size_t>(part)];
                const std::optional<int> written =
                    drawChunks(partFile, file, pdf, partStart(part), partStart(part + 1), stop, [&] {
                        const std::lock_guard lock(mutex);
                        ++drawn;
                        changed.notify_all();
                    });
                if (!written) {
                    break;
                }
                if (!partFile.flush()) {
                    throw cannotWrite(file, partFile.errorString());
                }
                pages[static_cast<size_t>(part)] = *written;
            } catch (...) {
                const std::lock_guard lock(mutex);
                if (!error) {
                    error = std::current_exception();
                }
                failed = true;
                break;
            }
        }
        const std::lock_guard lock(mutex);
        --running;
        changed.notify_all();
    };
    {
        Threads drawing;
        try {
            for (int t = 0; t < threads; ++t) {
                drawing.start(work);
            }
            // Progress is told from this thread only, as the chunks are drawn.
            std::unique_lock lock(mutex);
            int told = 0;
            while (running > 0) {
                changed.wait_for(lock, std::chrono::milliseconds(100));
                if (drawn != told && progress) {
                    told = drawn;
                    lock.unlock();
                    progress(told);
                    lock.lock();
                }
            }
        } catch (...) {
            failed = true;  // the threads stop and are waited for
            throw;
        }
    }
    if (error) {
        std::rethrow_exception(error);
    }
    if (job != nullptr && job->cancelled()) {
        return std::nullopt;
    }
    try {
        JoinPdfParts(names, out);
    } catch (const std::exception& e) {
        throw cannotWrite(file, QString::fromStdString(e.what()));
    }
    int total = 0;
    for (const int p : pages) {
        total += p;
    }
    return total;
}

#endif

}  // namespace

std::optional<int> WritePdf(const QString& file, const PdfSource& pdf, const BackgroundJob* job,
                            const std::function<void(int drawn)>& progress, int threads) {
    if (threads <= 0) {
        threads = std::clamp(QThread::idealThreadCount(), 1, kMostThreads);
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        throw cannotWrite(file, out.errorString());
    }
    std::optional<int> written;
#ifdef QRV_HAVE_QPDF
    if (threads > 1 && pdf.chunks > 1) {
        written = writeInParts(out, file, pdf, job, progress, std::min(threads, pdf.chunks));
    } else
#endif
    {
        int drawn = 0;
        written = drawChunks(
            out, file, pdf, 0, pdf.chunks, [job] { return job != nullptr && job->cancelled(); },
            [&drawn, &progress] {
                if (progress) {
                    progress(++drawn);
                }
            });
    }
    if (!written) {
        out.cancelWriting();
        return std::nullopt;
    }
    if (!out.commit()) {
        throw cannotWrite(file, out.errorString());
    }
    return written;
}

}  // namespace qrv::gui
