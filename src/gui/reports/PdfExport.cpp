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
#include <optional>
#include <vector>

#include "base/QrvError.h"
#include "gui/reports/BackgroundJob.h"
#include "gui/reports/ChunkRows.h"
#include "gui/reports/RowStamp.h"
#ifdef QRV_HAVE_QPDF
#include "gui/reports/PdfJoin.h"
#endif

namespace qrv::gui {

namespace {

constexpr size_t kAhead = 2;        // chunks rendered ahead of the drawing
constexpr int kPartsPerThread = 4;  // parts of the PDF per drawing thread, so that none waits long idle
constexpr int kMostThreads = 4;     // drawing threads at most
constexpr int kStampTries = 3;      // chunks of one frame in a row that make no stamp before none is tried
constexpr size_t kStampWidths = 4;  // stamps kept of one frame, each for other widths of its row numbers

using Stop = std::function<bool()>;

QrvError cannotWrite(const QString& file, const QString& why) {
    return QrvError("Cannot write the report to \"" + file.toStdString() + "\": " + why.toStdString());
}

// A chunk ready to draw: its HTML, its rows, and its document unless a stamp of the drawing thread
// fits its rows.
struct Chunk {
    QString html;
    ChunkRows rows;
    std::unique_ptr<QTextDocument> doc;
};

// The chunks [first, end) rendered from the report's rows and read on a thread of their own (into
// documents, or into rows where the drawing thread has a stamp for them), handed over in order. A
// document is laid out where it is drawn: its fonts belong to the thread that laid it out, and two
// threads must not use them at once.
class Rendered {
  public:
    // A frame of chunks the drawing thread has a stamp for, and the rows the stamp holds.
    struct Stamped {
        ChunkRows frame;
        size_t rows = 0;
    };

    Rendered(const PdfSource& pdf, int first, int end, Stop stop, std::vector<Stamped> stamped)
        : pdf_(pdf), first_(first), end_(end), stopped_(std::move(stop)), stamped_(std::move(stamped)) {
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

    // The next chunk, or nothing when there is none (stopped); rethrows what went wrong there.
    std::optional<Chunk> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || done_; });
        if (ready_.empty()) {
            if (error_) {
                std::rethrow_exception(error_);
            }
            return std::nullopt;
        }
        Chunk chunk = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return chunk;
    }

    // Chunks like `rows` (the same but for their rows) are drawn from a stamp from now on.
    void stamped(const ChunkRows& rows) {
        const std::lock_guard lock(mutex_);
        Stamped frame{ChunkRows{rows.prefix, rows.row, rows.suffix, {}}, rows.cells.size()};
        const auto same = std::find_if(stamped_.begin(), stamped_.end(),
                                       [&rows](const Stamped& s) { return s.frame.sameFrame(rows); });
        if (same != stamped_.end()) {
            *same = std::move(frame);
        } else {
            stamped_.push_back(std::move(frame));
        }
    }

  private:
    bool isStamped(const ChunkRows& rows) {
        const std::lock_guard lock(mutex_);
        return std::any_of(stamped_.begin(), stamped_.end(), [&rows](const Stamped& s) {
            return s.rows == rows.cells.size() && s.frame.sameFrame(rows);
        });
    }

    void run(QThread* drawing) {
        try {
            const std::function<QString(int)> html = pdf_.source();
            for (int chunk = first_; chunk < end_; ++chunk) {
                Chunk next;
                next.html = html(chunk);
                if (pdf_.stampRows) {
                    next.rows = ChunkRows::read(next.html);
                }
                if (!next.rows.found() || !isStamped(next.rows)) {
                    next.doc = pdf_.style.parse(next.html);
                    next.doc->moveToThread(drawing);
                }
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kAhead || stop_ || stopped_(); });
                if (stop_ || stopped_()) {
                    break;
                }
                ready_.push_back(std::move(next));
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
    std::deque<Chunk> ready_;
    std::vector<Stamped> stamped_;  // what the drawing thread has stamps for
    std::exception_ptr error_;
    bool done_ = false;
    bool stop_ = false;
};

// The stamps a drawing thread has made: per frame, one for each width of the columns that follow their
// texts (a row number's width changes with its digits: 999 to 1000, or 12000 against 12603 where the
// font's digits differ), latest used first; and how many chunks of each frame in a row made none (after a
// few, no more are tried).
class Stamps {
  public:
    // The chunk's rows laid out by the first stamp that lays them out, and that stamp.
    std::pair<const RowStamp*, std::optional<StampedRows>> lay(const ChunkRows& rows) {
        for (auto it = stamps_.begin(); it != stamps_.end(); ++it) {
            if (!(*it)->fits(rows)) {
                continue;
            }
            if (std::optional<StampedRows> laid = (*it)->lay(rows)) {
                std::rotate(stamps_.begin(), it, it + 1);  // the next chunk most likely fits it too
                return {stamps_.front().get(), std::move(laid)};
            }
        }
        return {nullptr, std::nullopt};
    }
    std::vector<Rendered::Stamped> frames() const {
        std::vector<Rendered::Stamped> frames;
        for (const auto& stamp : stamps_) {
            if (std::none_of(frames.begin(), frames.end(),
                             [&stamp](const auto& f) { return f.frame.sameFrame(stamp->frame()); })) {
                frames.push_back({stamp->frame(), stamp->rows()});
            }
        }
        return frames;
    }
    // A stamp made from the chunk's laid-out document (in place of the one of its frame and widths, and
    // beside those of other widths), when it makes one.
    const RowStamp* make(const QTextDocument& doc, const ChunkRows& rows) {
        if (!rows.found()) {
            return nullptr;
        }
        auto failed = std::find_if(failed_.begin(), failed_.end(),
                                   [&rows](const auto& f) { return f.first.sameFrame(rows); });
        if (failed != failed_.end() && failed->second >= kStampTries) {
            return nullptr;
        }
        std::unique_ptr<RowStamp> stamp = RowStamp::make(doc, rows);
        if (!stamp) {
            if (failed == failed_.end()) {
                failed_.emplace_back(ChunkRows{rows.prefix, rows.row, rows.suffix, {}}, 1);
            } else {
                ++failed->second;
            }
            return nullptr;
        }
        if (failed != failed_.end()) {
            failed->second = 0;
        }
        // Stamps of another row count or page count stand for another layout: only the latest is kept.
        const auto replaced = [&stamp](const std::unique_ptr<RowStamp>& s) {
            return s->fits(stamp->frame()) &&
                   (s->rows() != stamp->rows() || s->pages() != stamp->pages() || s->sameWidths(*stamp));
        };
        stamps_.erase(std::remove_if(stamps_.begin(), stamps_.end(), replaced), stamps_.end());
        stamps_.insert(stamps_.begin(), std::move(stamp));
        const RowStamp& made = *stamps_.front();
        size_t kept = 0;
        for (auto it = stamps_.begin(); it != stamps_.end();) {
            it = (*it)->fits(made.frame()) && ++kept > kStampWidths ? stamps_.erase(it) : it + 1;
        }
        return &made;
    }

  private:
    std::vector<std::unique_ptr<RowStamp>> stamps_;
    std::vector<std::pair<ChunkRows, int>> failed_;
};

// Draws the pages of chunks [first, end) into `device` as a PDF of its own (A4, the preview's margins,
// the report's title), each chunk from a stamp of `stamps` where one fits it, else from its document.
// Returns the pages drawn, nothing when stopped; `drawn` is told of each chunk.
std::optional<int> drawChunks(QIODevice& device, const QString& file, const PdfSource& pdf, int first,
                              int end, Stamps& stamps, const Stop& stop, const std::function<void()>& drawn) {
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
    const auto newPage = [&] {
        if (written > 0 && !writer.newPage()) {
            painter.end();
            throw cannotWrite(file, QStringLiteral("a page cannot be added"));
        }
        ++written;
    };
    Rendered chunks(pdf, first, end, stop, stamps.frames());
    for (int chunk = first; chunk < end; ++chunk) {
        std::optional<Chunk> next = chunks.next();
        if (!next || stop()) {
            painter.end();
            return std::nullopt;
        }
        const auto [stamp, rows] = stamps.lay(next->rows);
        if (rows) {
            for (int page = 0; page < stamp->pages(); ++page) {
                newPage();
                stamp->paint(painter, *rows, page);
            }
        } else {
            const std::unique_ptr<QTextDocument> doc =
                next->doc ? std::move(next->doc) : pdf.style.parse(next->html);
            doc->setPageSize(pdf.style.page);
            const int pages = std::max(1, doc->pageCount());
            for (int page = 0; page < pages; ++page) {
                newPage();
                PaintPage(painter, *doc, page);
            }
            if (pdf.stampRows && stamps.make(*doc, next->rows) != nullptr) {
                chunks.stamped(next->rows);
            }
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

// The temporary files the parts are drawn into, so that what is held does not grow with the report.
struct PartFiles {
    std::vector<std::unique_ptr<QTemporaryFile>> files;
    std::vector<QString> names;
};

PartFiles partFiles(int parts, const QString& file) {
    PartFiles p;
    for (int part = 0; part < parts; ++part) {
        p.files.push_back(std::make_unique<QTemporaryFile>());
        if (!p.files.back()->open()) {
            throw cannotWrite(
                file, QStringLiteral("no temporary file for a part: ") + p.files.back()->errorString());
        }
        p.names.push_back(p.files.back()->fileName());
    }
    return p;
}

// What the drawing threads share: the next part to draw, how many threads run, the chunks drawn, and
// the first error.
struct PartRun {
    std::mutex mutex;
    std::condition_variable changed;
    int nextPart = 0;
    int running = 0;
    int drawn = 0;
    std::exception_ptr error;
    std::atomic<bool> failed{false};
};

// Tells the progress, from this thread only, as the chunks are drawn, until no thread runs.
void waitTellingProgress(PartRun& run, const std::function<void(int drawn)>& progress) {
    std::unique_lock lock(run.mutex);
    int told = 0;
    while (run.running > 0) {
        run.changed.wait_for(lock, std::chrono::milliseconds(100));
        if (run.drawn != told && progress) {
            told = run.drawn;
            lock.unlock();
            progress(told);
            lock.lock();
        }
    }
}

// The parts joined in order into `out`; returns their pages.
int joinParts(const std::vector<QString>& names, const std::vector<int>& pages, QIODevice& out,
              const QString& file) {
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

// The report cut into parts of whole chunks, each drawn into a PDF of its own by the next free thread
// of `threads`, and the parts joined in order into `out`. Returns the pages, nothing when cancelled.
std::optional<int> writeInParts(QIODevice& out, const QString& file, const PdfSource& pdf,
                                const BackgroundJob* job, const std::function<void(int drawn)>& progress,
                                int threads) {
    const int parts = std::min(pdf.chunks, threads * kPartsPerThread);
    const auto partStart = [&pdf, parts](int part) {
        return static_cast<int>(static_cast<long long>(pdf.chunks) * part / parts);
    };
    const PartFiles files = partFiles(parts, file);
    std::vector<int> pages(static_cast<size_t>(parts), 0);
    PartRun run;
    run.running = threads;
    const Stop stop = [job, &run] { return run.failed || (job != nullptr && job->cancelled()); };
    const auto work = [&] {
        Stamps stamps;  // the thread's own: their fonts and documents are its
        for (;;) {
            int part = 0;
            {
                const std::lock_guard lock(run.mutex);
                if (run.nextPart == parts || stop()) {
                    break;
                }
                part = run.nextPart++;
            }
            try {
                QTemporaryFile& partFile = *files.files[static_cast<size_t>(part)];
                const std::optional<int> written =
                    drawChunks(partFile, file, pdf, partStart(part), partStart(part + 1), stamps, stop, [&] {
                        const std::lock_guard lock(run.mutex);
                        ++run.drawn;
                        run.changed.notify_all();
                    });
                if (!written) {
                    break;
                }
                if (!partFile.flush()) {
                    throw cannotWrite(file, partFile.errorString());
                }
                pages[static_cast<size_t>(part)] = *written;
            } catch (...) {
                const std::lock_guard lock(run.mutex);
                if (!run.error) {
                    run.error = std::current_exception();
                }
                run.failed = true;
                break;
            }
        }
        const std::lock_guard lock(run.mutex);
        --run.running;
        run.changed.notify_all();
    };
    {
        Threads drawing;
        try {
            for (int t = 0; t < threads; ++t) {
                drawing.start(work);
            }
            waitTellingProgress(run, progress);
        } catch (...) {
            run.failed = true;  // the threads stop and are waited for
            throw;
        }
    }
    if (run.error) {
        std::rethrow_exception(run.error);
    }
    if (job != nullptr && job->cancelled()) {
        return std::nullopt;
    }
    return joinParts(files.names, pages, out, file);
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
        Stamps stamps;
        written = drawChunks(
            out, file, pdf, 0, pdf.chunks, stamps, [job] { return job != nullptr && job->cancelled(); },
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
