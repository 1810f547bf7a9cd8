#include "gui/reports/ReportPreview.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextOption>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/QrvError.h"
#include "gui/reports/BackgroundJob.h"
#include "gui/reports/PageView.h"
#include "gui/reports/PdfExport.h"
#include "gui/reports/ReportFinder.h"
#include "gui/reports/RunningText.h"
#include "gui/window/DesktopOpener.h"
#include "gui/window/QtUi.h"
#include "reports/ReportPages.h"
#include "reports/ReportSnapshot.h"

namespace qrv::gui {

namespace {

// A file chosen in a dialog sized to read the names in; empty when none was.
QString askFileName(QWidget* parent, const QString& title, const QString& proposed, const QString& filter,
                    bool save) {
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

const QString kTitle = QStringLiteral("Convertor QRV");
constexpr qreal kZoomStep = 1.25;

void setUpPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 14, 12, 14), QPageLayout::Millimeter);
}

}  // namespace

QString ProposedPdfPath(const QString& layoutFile, const QString& destination, const QString& source) {
    const QString run = destination.isEmpty() ? source : destination;
    const QString layout = QFileInfo(layoutFile).completeBaseName();
    const QString name = layout.isEmpty() ? QStringLiteral("report") : layout;
    if (run.isEmpty()) {
        return name + QStringLiteral(".pdf");
    }
    const QFileInfo info(run);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + name + QStringLiteral(".pdf"));
}

QString WithPdfSuffix(const QString& file) {
    return file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".pdf");
}

QString HtmlTitle(const QString& html) {
    static const QRegularExpression kTitle(
        QStringLiteral("<title[^>]*>(.*?)</title"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = kTitle.match(html);
    return match.hasMatch() ? QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified()
                            : QString();
}

ReportPreview::ReportPreview(QWidget* parent)
    : QDialog(parent),
      printer_(QPrinter::HighResolution),
      views_(new QStackedWidget(this)),
      pages_(nullptr),
      pageNumber_(new QSpinBox(this)),
      pageTotal_(new QLabel(this)),
      findBar_(new QWidget(this)),
      findEdit_(new QLineEdit(findBar_)),
      findNext_(new QPushButton(tr("Find &Next"), findBar_)),
      findProgress_(new QProgressBar(findBar_)),
      findCancel_(new QPushButton(tr("Cancel"), findBar_)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setUpPrinter(printer_);
    pages_ = new PageView(printer_, views_);
    views_->addWidget(pages_);
    preparingLabel_ = new QLabel(tr("Preparing the pages..."), views_);
    preparingLabel_->setObjectName(QStringLiteral("preparing"));
    preparingLabel_->setAlignment(Qt::AlignCenter);
    views_->addWidget(preparingLabel_);
    // As large as a report wants, never larger than the screen it opens on; a page taller than that
    // scrolls.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(1000, available.width() * 9 / 10), std::min(900, available.height() * 9 / 10));

    QToolBar* tools = fileTools();
    QAction* text = nullptr;
    QToolBar* pageTools = pageViewTools(text);
    buildFindBar();

    pages_->setObjectName(QStringLiteral("reportView"));
    pages_->setAccessibleName(QStringLiteral("Report"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(pageTools);
    layout->addWidget(findBar_);
    layout->addWidget(views_, 1);
    // The keys (arrows, wheel, Home, End) scroll the pages from the start.
    setFocusProxy(pages_);
    pages_->setFocus();
    // A screen reader reads running text; the pages are pictures.
    if (QAccessible::isActive()) {
        text->setChecked(true);
        showTextView();
    }
}

template <typename Slot>
QAction* ReportPreview::addTool(QToolBar* bar, const QString& text, const QKeySequence& key, const char* name,
                                Slot slot) {
    QAction* action = bar->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setToolTip(QString(text).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                       action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

// The first of the two rows of tools (each fits a small screen's width): the file commands.
QToolBar* ReportPreview::fileTools() {
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("previewTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addTool(tools, tr("&Print..."), QKeySequence::Print, "actPrint", &ReportPreview::print);
    addTool(tools, tr("Save as P&DF..."), QKeySequence(Qt::CTRL | Qt::Key_S), "actSavePdf",
            &ReportPreview::askSavePdf);
    addTool(tools, tr("Save as &HTML..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "actSaveHtml",
            &ReportPreview::askSaveHtml);
    addTool(tools, tr("&Load..."), QKeySequence::Open, "actLoad", &ReportPreview::askLoad);
    tools->addSeparator();
    addTool(tools, tr("&Find"), QKeySequence::Find, "actFind", &ReportPreview::showFind);
    tools->addSeparator();
    addTool(tools, tr("&Close"), QKeySequence::Close, "actClose", &ReportPreview::close);
    return tools;
}

// The second row: zoom, the three views (`textView` the text view's action) and the pages.
QToolBar* ReportPreview::pageViewTools(QAction*& textView) {
    auto* pageTools = new QToolBar(this);
    pageTools->setObjectName(QStringLiteral("previewPages"));
    pageTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, pageTools](const QString& text, const QKeySequence& key, const char* name, auto slot) {
        return addTool(pageTools, text, key, name, slot);
    };
    add(tr("Zoom &In"), QKeySequence::ZoomIn, "actZoomIn", &ReportPreview::zoomIn);
    add(tr("Zoom &Out"), QKeySequence::ZoomOut, "actZoomOut", &ReportPreview::zoomOut);
    add(tr("Fit &Width"), QKeySequence(Qt::CTRL | Qt::Key_0), "actFitWidth", &ReportPreview::fitWidth);
    QAction* single = add(tr("One Pa&ge"), QKeySequence(Qt::CTRL | Qt::Key_1), "actSinglePage", [this] {
        pages_->setColumns(false);
        views_->setCurrentWidget(pages_);
    });
    QAction* all = add(tr("All Pag&es"), QKeySequence(Qt::CTRL | Qt::Key_2), "actAllPages", [this] {
        pages_->setColumns(true);
        views_->setCurrentWidget(pages_);
    });
    textView =
        add(tr("&Text"), QKeySequence(Qt::CTRL | Qt::Key_3), "actTextView", &ReportPreview::showTextView);
    auto* view = new QActionGroup(this);
    for (QAction* a : {single, all, textView}) {
        a->setCheckable(true);
        view->addAction(a);
    }
    single->setChecked(true);
    add(tr("Pre&vious"), QKeySequence(Qt::Key_PageUp), "actPreviousPage",
        [this] { showPage(currentPage() - 1); });
    pageNumber_->setObjectName(QStringLiteral("pageNumber"));
    pageNumber_->setAccessibleName(QStringLiteral("Page"));
    pageNumber_->setPrefix(tr("Page "));
    pageNumber_->setRange(1, 1);
    pageTools->addWidget(pageNumber_);
    pageTotal_->setObjectName(QStringLiteral("pageCount"));
    pageTools->addWidget(pageTotal_);
    add(tr("Ne&xt"), QKeySequence(Qt::Key_PageDown), "actNextPage", &ReportPreview::pageNext);
    connect(pageNumber_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != currentPage()) {
            pages_->setCurrentPage(page);
        }
    });
    connect(pages_, &PageView::pagesChanged, this, &ReportPreview::pageShown);
    return pageTools;
}

// The find bar: the text, Find Next, and while a search runs its progress and Cancel.
void ReportPreview::buildFindBar() {
    auto* findLayout = new QHBoxLayout(findBar_);
    findLayout->setContentsMargins(4, 0, 4, 0);
    auto* findLabel = new QLabel(tr("Find &text:"), findBar_);
    findLabel->setBuddy(findEdit_);
    findEdit_->setObjectName(QStringLiteral("findText"));
    findEdit_->setAccessibleName(QStringLiteral("Find text:"));
    findNext_->setObjectName(QStringLiteral("findNext"));
    findProgress_->setObjectName(QStringLiteral("findProgress"));
    findProgress_->setAccessibleName(QStringLiteral("Searching"));
    findProgress_->setFormat(tr("Searching %p%"));
    findProgress_->setMaximumWidth(200);
    findCancel_->setObjectName(QStringLiteral("findCancel"));
    findLayout->addWidget(findLabel);
    findLayout->addWidget(findEdit_, 1);
    findLayout->addWidget(findNext_);
    findLayout->addWidget(findProgress_);
    findLayout->addWidget(findCancel_);
    findProgress_->hide();
    findCancel_->hide();
    connect(findNext_, &QPushButton::clicked, this, &ReportPreview::findNext);
    connect(findEdit_, &QLineEdit::returnPressed, this, &ReportPreview::findNext);
    connect(findCancel_, &QPushButton::clicked, this, &ReportPreview::cancel);
    connect(this, &ReportPreview::findProgress, findProgress_, [this](int searched, int chunks) {
        findProgress_->setRange(0, chunks);
        findProgress_->setValue(searched);
    });
    findBar_->hide();
}

void ReportPreview::showTextView() {
    if (text_ == nullptr) {
        text_ = new QTextBrowser(views_);
        text_->setObjectName(QStringLiteral("reportText"));
        text_->setAccessibleName(QStringLiteral("Report"));
        text_->setOpenLinks(false);
        const std::unique_ptr<QTextDocument> model = pages_->makeDocument(0);
        text_->document()->setDefaultFont(model->defaultFont());
        text_->document()->setDefaultTextOption(model->defaultTextOption());
        views_->addWidget(text_);
    }
    fillTextView(pages_->chunkOf(currentPage()).first);
    views_->setCurrentWidget(text_);
}

void ReportPreview::fillTextView(int chunk) {
    if (text_ == nullptr || chunk == textChunk_ || pages_->chunkCount() == 0) {
        return;
    }
    textChunk_ = chunk;
    const std::unique_ptr<QTextDocument> doc = pages_->style().parse(chunkHtml(chunk));
    textRun_ = std::make_unique<RunningText>(*doc);
    text_->setPlainText(textRun_->text());
}

ReportPreview::~ReportPreview() {
    // The jobs end before what they report to goes.
    preparing_.reset();
    finding_.reset();
    saving_.reset();
}

QString ReportPreview::chunkHtml(int chunk) const {
    if (!report_) {
        return html_;
    }
    const PlannedChunk& c = plan_.at(static_cast<size_t>(chunk));
    return QString::fromStdString(report_->render(c.from, c.to));
}

std::function<std::function<QString(int)>()> ReportPreview::chunkSource() const {
    if (!report_) {
        return [html = html_] { return [html](int) { return html; }; };
    }
    return [snapshot = report_->sharedSnapshot(), plan = plan_] {
        // Its own pages over the snapshot: a ReportPages is for one thread.
        auto pages = std::make_shared<const ReportPages>(snapshot);
        return [pages, plan](int chunk) {
            const PlannedChunk& c = plan.at(static_cast<size_t>(chunk));
            return QString::fromStdString(pages->render(c.from, c.to));
        };
    };
}

void ReportPreview::setSnapshot(std::shared_ptr<const ReportSnapshot> snapshot) {
    const QString layout = QString::fromStdString(snapshot->report().layoutFile);
    // The report's pages (their totals read over every row) and where the chunks end are made beside the
    // window's thread, which shows "Preparing the pages" meanwhile and names the report by its layout until
    // its own title is known. A malformed layout is said where the pages would be.
    report_.reset();
    html_.clear();
    begin(layout, QString());
    plan_.clear();
    pages_->setChunks(
        0, [](int) { return QString(); }, [](int) { return 0; });
    setReady(false);
    const PageStyle style = pages_->style();
    const int run = ++prepareRun_;
    preparing_ =
        std::make_unique<BackgroundJob>([this, snapshot, style, layout, run](const BackgroundJob& job) {
            std::shared_ptr<const ReportPages> pages;
            std::vector<PlannedChunk> plan;
            QString error;
            try {
                // Made and used here, then handed to the window's thread once this job is done with it.
                pages = std::make_shared<const ReportPages>(snapshot);
                // A report closed or replaced meanwhile is not waited for.
                plan = PagePlan::make(
                    *pages, [&style](const QString& html) { return style.layOut(html); },
                    ReportPages::kRowsPerChunk, [&job] { return job.cancelled(); });
            } catch (const std::exception& e) {
                error = QString::fromStdString(e.what());
            }
            QMetaObject::invokeMethod(
                this,
                [this, pages = std::move(pages), plan = std::move(plan), error, layout, run]() mutable {
                    if (run != prepareRun_) {
                        return;
                    }
                    if (!error.isEmpty()) {
                        // Said where the pages would be; what waits for them goes on over no pages.
                        preparingLabel_->setText(tr("The pages could not be prepared:\n%1").arg(error));
                        prepared_ = true;
                        emit pagesReady();
                        return;
                    }
                    report_ = std::move(pages);
                    setTitle(layout, HtmlTitle(QString::fromStdString(report_->head())));
                    plan_ = std::move(plan);
                    pages_->setChunks(
                        static_cast<int>(plan_.size()), [this](int chunk) { return chunkHtml(chunk); },
                        [this](int chunk) { return plan_.at(static_cast<size_t>(chunk)).pages; });
                    setReady(true);
                },
                Qt::QueuedConnection);
        });
}

void ReportPreview::setPage(const QString& layout, const QString& html) {
    report_.reset();
    html_ = html;
    begin(layout, HtmlTitle(html));
    plan_.clear();
    pages_->setChunks(
        1, [this](int) { return html_; }, [](int) { return 1; });
    setReady(true);
}

void ReportPreview::begin(const QString& layout, const QString& title) {
    // What ran over the report shown before ends, and its answers are dropped.
    preparing_.reset();
    finding_.reset();
    saving_.reset();
    ++prepareRun_;
    ++findRun_;
    ++pdfRun_;
    findNext_->setEnabled(true);
    findProgress_->hide();
    findCancel_->hide();
    setTitle(layout, title);
    found_ = -1;
    foundChunk_ = 0;
    textChunk_ = -1;
}

void ReportPreview::setTitle(const QString& layout, const QString& title) {
    // The report's own title; a page without one is named after its layout or file.
    title_ = !title.isEmpty() ? title : layout.isEmpty() ? tr("Report") : tr("Report - %1").arg(layout);
    printer_.setDocName(title_);
    setWindowTitle(title_);
    pages_->setTitle(title_);
}

void ReportPreview::setReady(bool ready) {
    ready_ = ready;
    prepared_ = ready;
    findNext_->setEnabled(ready);
    for (QAction* action : findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.startsWith(QLatin1String("act")) && name != QLatin1String("actClose") &&
            name != QLatin1String("actLoad")) {
            action->setEnabled(ready);
        }
    }
    pageNumber_->setEnabled(ready);
    if (!ready) {
        if (views_->currentWidget() != preparingLabel_) {
            shownView_ = views_->currentWidget();
        }
        preparingLabel_->setText(tr("Preparing the pages..."));
        views_->setCurrentWidget(preparingLabel_);
        pageTotal_->setText(tr(" of ... "));
        return;
    }
    views_->setCurrentWidget(shownView_ != nullptr ? shownView_ : pages_);
    fillTextView(pages_->chunkOf(currentPage()).first);
    pageShown();
    emit pagesReady();
}

void ReportPreview::waitUntilReady() {
    if (prepared_) {
        return;
    }
    QEventLoop wait;
    const QMetaObject::Connection done = connect(this, &ReportPreview::pagesReady, &wait, &QEventLoop::quit);
    wait.exec();
    disconnect(done);
}

QString ReportPreview::html() const {
    if (!report_) {
        return html_;
    }
    std::ostringstream out;
    report_->renderWhole(out);
    return QString::fromStdString(out.str());
}

QTextDocument* ReportPreview::document() const {
    return pages_->document(pages_->chunkOf(currentPage()).first);
}

int ReportPreview::pageCount() const {
    return pages_->pageCount();
}

int ReportPreview::currentPage() const {
    return pages_->currentPage();
}

void ReportPreview::showPage(int page) {
    pages_->setCurrentPage(page);
    pageShown();
}

void ReportPreview::pageNext() {
    // Past the last page's top, Page Down reads on down that page.
    if (currentPage() >= pageCount()) {
        pages_->scrollBy(pages_->viewport()->height() * 9 / 10);
        pageShown();
        return;
    }
    showPage(currentPage() + 1);
}

void ReportPreview::pageShown() {
    pageNumber_->blockSignals(true);
    pageNumber_->setRange(1, std::max(1, pageCount()));
    pageNumber_->setValue(std::max(1, currentPage()));
    pageNumber_->blockSignals(false);
    pageTotal_->setText(tr(" of %1 ").arg(pageCount()));
    if (text_ != nullptr && views_->currentWidget() == text_) {
        fillTextView(pages_->chunkOf(currentPage()).first);
    }
}

void ReportPreview::zoomIn() {
    pages_->zoomIn(kZoomStep);
    if (text_ != nullptr) {
        text_->zoomIn(1);
    }
    ++zoom_;
}

void ReportPreview::zoomOut() {
    pages_->zoomOut(kZoomStep);
    if (text_ != nullptr) {
        text_->zoomOut(1);
    }
    --zoom_;
}

void ReportPreview::fitWidth() {
    pages_->fitToWidth();
    zoom_ = 0;
}

bool ReportPreview::busy() const {
    return (finding_ && finding_->running()) || (saving_ && saving_->running());
}

void ReportPreview::cancel() {
    if (finding_) {
        finding_->cancel();
    }
    if (saving_) {
        saving_->cancel();
    }
}

void ReportPreview::startFind(const QString& text) {
    waitUntilReady();
    if (finding_) {
        finding_->cancel();
        finding_.reset();  // waits: one search at a time
    }
    const int chunks = pages_->chunkCount();
    if (chunks == 0 || text.isEmpty()) {
        clearFound();
        lastFound_ = false;
        emit findFinished(false);
        return;
    }
    // From just after the last match, or from the current page's chunk.
    const int start = found_ < 0 ? pages_->chunkOf(currentPage()).first : foundChunk_;
    const int after = found_ < 0 ? -1 : found_;
    findNext_->setEnabled(false);
    findProgress_->setValue(0);
    findProgress_->show();
    findCancel_->show();
    auto source = chunkSource();
    const int run = ++findRun_;  // what an earlier search still posts is dropped
    finding_ = std::make_unique<BackgroundJob>(
        [this, source, text, chunks, start, after, run](const BackgroundJob& job) {
            std::optional<FoundText> found;
            try {
                const std::function<QString(int)> html = source();
                QElapsedTimer told;
                told.start();
                found = FindInChunks(
                    text, chunks, start, after, html, &job, [this, &told, chunks, run](int searched) {
                        if (told.elapsed() >= 100) {  // a few times a second is enough to see it move
                            told.restart();
                            QMetaObject::invokeMethod(
                                this,
                                [this, searched, chunks, run] {
                                    if (run == findRun_) {
                                        emit findProgress(searched, chunks);
                                    }
                                },
                                Qt::QueuedConnection);
                        }
                    });
            } catch (const std::exception&) {
                found.reset();  // an unreadable chunk: not found
            }
            const bool cancelled = job.cancelled();
            QMetaObject::invokeMethod(
                this,
                [this, found, cancelled, run] {
                    if (run != findRun_) {
                        return;
                    }
                    findNext_->setEnabled(true);
                    findProgress_->hide();
                    findCancel_->hide();
                    if (found) {
                        foundText(found->chunk, found->position, found->length);
                    } else if (!cancelled) {
                        clearFound();  // what was found before is not what was looked for now
                    }
                    lastFound_ = found.has_value();
                    if (!cancelled || found) {
                        emit findFinished(lastFound_);
                    } else {
                        emit findFinished(false);
                    }
                },
                Qt::QueuedConnection);
        });
}

bool ReportPreview::findText(const QString& text) {
    waitUntilReady();
    QEventLoop wait;
    const QMetaObject::Connection done =
        connect(this, &ReportPreview::findFinished, &wait, &QEventLoop::quit);
    startFind(text);
    if (busy()) {
        wait.exec();
    } else {
        QCoreApplication::sendPostedEvents(this);
    }
    disconnect(done);
    return lastFound_;
}

void ReportPreview::foundText(int chunk, int position, int length) {
    found_ = position;
    foundChunk_ = chunk;
    pages_->setMatch(chunk, position, length);
    if (text_ != nullptr) {  // the text view holds the same text
        fillTextView(chunk);
        QTextCursor inText(text_->document());
        inText.setPosition(textRun_->positionOf(position));
        inText.setPosition(textRun_->positionOf(position + length), QTextCursor::KeepAnchor);
        text_->setTextCursor(inText);
    }
    // The page that holds the match's line, as the view lays the chunk out.
    QTextDocument* doc = pages_->document(chunk);
    QTextCursor match(doc);
    match.setPosition(std::min(position, doc->characterCount() - 1));
    const QTextBlock block = match.block();
    const QRectF blockRect = doc->documentLayout()->blockBoundingRect(block);
    qreal y = blockRect.top();
    qreal height = blockRect.height();
    if (const QTextLayout* lines = block.layout()) {
        const QTextLine line = lines->lineForTextPosition(position - block.position());
        if (line.isValid()) {
            y += line.y();
            height = line.height();
        }
    }
    // The match's own line in view, not only its page.
    pages_->showLine(chunk, y, height);
    pageShown();
}

void ReportPreview::clearFound() {
    found_ = -1;
    foundChunk_ = 0;
    pages_->setMatch(-1, 0, 0);
    if (text_ != nullptr) {
        QTextCursor cursor = text_->textCursor();
        cursor.clearSelection();
        text_->setTextCursor(cursor);
    }
}

void ReportPreview::findNext() {
    if (findEdit_->text().isEmpty() || busy()) {
        return;
    }
    const QString wanted = findEdit_->text();
    // Said once the search has ended, whichever way.
    auto* said = new QObject(this);
    connect(this, &ReportPreview::findFinished, said, [this, said, wanted](bool found) {
        said->deleteLater();
        if (!found && !(finding_ && finding_->cancelled())) {
            QMessageBox box(QMessageBox::Information, kTitle, tr("\"%1\" was not found.").arg(wanted),
                            QMessageBox::Ok, this);
            FitTitle(box);
            box.exec();
        }
    });
    startFind(wanted);
}

void ReportPreview::showFind() {
    findBar_->show();
    findEdit_->setFocus();
    findEdit_->selectAll();
}

void ReportPreview::saveHtml(const QString& file) {
    const auto failed = [&file](const QString& why) {
        return QrvError("Cannot write the report to \"" + file.toStdString() + "\": " + why.toStdString());
    };
    if (report_) {  // streamed: the rows go to the file as they are rendered
        std::ofstream out(std::filesystem::path(file.toStdU16String()), std::ios::binary | std::ios::trunc);
        if (!out) {
            throw failed(tr("it cannot be opened"));
        }
        report_->renderWhole(out);
        out.flush();
        if (!out) {
            throw failed(tr("it could not be written whole"));
        }
        return;
    }
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw failed(out.errorString());
    }
    const QByteArray bytes = html_.toUtf8();
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        throw failed(out.errorString());
    }
}

void ReportPreview::startSavePdf(const QString& file) {
    waitUntilReady();
    if (!ready_) {
        emit pdfFinished(file, 0, preparingLabel_->text());
        return;
    }
    if (saving_) {
        saving_->cancel();
        saving_.reset();
    }
    PdfSource pdf;
    pdf.chunks = pages_->chunkCount();
    pdf.source = chunkSource();
    pdf.style = pages_->style();
    const int run = ++pdfRun_;
    saving_ = std::make_unique<BackgroundJob>([this, pdf, file, run](const BackgroundJob& job) {
        std::optional<int> pages;
        QString error;
        try {
            QElapsedTimer told;
            told.start();
            pages = WritePdf(file, pdf, &job, [this, &told, &pdf, run](int drawn) {
                if (told.elapsed() >= 100) {
                    told.restart();
                    QMetaObject::invokeMethod(
                        this,
                        [this, drawn, chunks = pdf.chunks, run] {
                            if (run == pdfRun_) {
                                emit pdfProgress(drawn, chunks);
                            }
                        },
                        Qt::QueuedConnection);
                }
            });
        } catch (const std::exception& e) {
            error = QString::fromStdString(e.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, file, written = pages.value_or(0), error, run] {
                if (run == pdfRun_) {
                    emit pdfFinished(file, written, error);
                }
            },
            Qt::QueuedConnection);
    });
}

void ReportPreview::savePdf(const QString& file) {
    waitUntilReady();
    QEventLoop wait;
    QString error;
    bool ended = false;  // it may end before it is waited for
    const QMetaObject::Connection done =
        connect(this, &ReportPreview::pdfFinished, &wait,
                [&wait, &error, &ended](const QString&, int, const QString& why) {
                    error = why;
                    ended = true;
                    wait.quit();
                });
    startSavePdf(file);
    if (!ended) {
        wait.exec();
    }
    disconnect(done);
    if (!error.isEmpty()) {
        throw QrvError(error.toStdString());
    }
}

void ReportPreview::sayPdfSaved(const QString& file, int pages) {
    QMessageBox box(
        QMessageBox::Information, kTitle,
        (pages == 1
             ? tr("The report was saved as PDF (1 page):")
             : tr("The report was saved as PDF (%1 pages):").arg(QLocale(QLocale::English).toString(pages))) +
            QLatin1Char('\n') + QDir::toNativeSeparators(file),
        QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("pdfSaved"));
    QPushButton* open = box.addButton(tr("&Open"), QMessageBox::AcceptRole);
    open->setObjectName(QStringLiteral("openPdf"));
    box.addButton(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    FitTitle(box);
    box.exec();
    if (box.clickedButton() != open) {
        return;
    }
    const auto notOpened = [preview = QPointer<ReportPreview>(this), file] {
        if (preview != nullptr) {
            QMessageBox::warning(
                preview, kTitle,
                tr("No program opened %1: open it from its folder.").arg(QDir::toNativeSeparators(file)));
        }
    };
    if (!openOnDesktop(QUrl::fromLocalFile(file), notOpened)) {
        notOpened();
    }
}

void ReportPreview::loadHtml(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        throw QrvError("Cannot read the report \"" + file.toStdString() +
                       "\": " + in.errorString().toStdString());
    }
    setPage(QFileInfo(file).fileName(), QString::fromUtf8(in.readAll()));
}

void ReportPreview::print() {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    printer.setDocName(title_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        try {
            pages_->print(printer);
        } catch (const std::exception& e) {
            QMessageBox::critical(this, kTitle, QString::fromStdString(e.what()));
        }
    }
}

void ReportPreview::askSavePdf() {
    if (busy()) {
        return;
    }
    const QString chosen =
        askFileName(this, tr("Save as PDF"), proposedPdf_, tr("PDF files (*.pdf);;All files (*.*)"), true);
    if (chosen.isEmpty()) {
        return;
    }
    const QString file = WithPdfSuffix(chosen);
    if (file != chosen && QFileInfo::exists(file) &&
        QMessageBox::question(this, kTitle, tr("%1 already exists.\nDo you want to replace it?").arg(file),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // Its progress with a Cancel while it is written beside the window.
    auto* progress =
        new QProgressDialog(tr("Saving the report as PDF:\n%1").arg(QDir::toNativeSeparators(file)),
                            tr("Cancel"), 0, pages_->chunkCount(), this);
    progress->setObjectName(QStringLiteral("pdfProgress"));
    progress->setWindowTitle(kTitle);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    connect(this, &ReportPreview::pdfProgress, progress,
            [progress](int drawn) { progress->setValue(drawn); });
    connect(progress, &QProgressDialog::canceled, this, &ReportPreview::cancel);
    connect(this, &ReportPreview::pdfFinished, progress,
            [this, progress](const QString& written, int pages, const QString& error) {
                progress->deleteLater();
                progress->hide();
                if (!error.isEmpty()) {
                    QMessageBox::critical(this, kTitle, error);
                } else if (pages > 0) {
                    sayPdfSaved(written, pages);
                }
            });
    startSavePdf(file);
}

void ReportPreview::askSaveHtml() {
    const QString file = askFileName(this, tr("Save as HTML"), QString(),
                                     tr("HTML files (*.html *.htm);;All files (*.*)"), true);
    if (file.isEmpty()) {
        return;
    }
    try {
        saveHtml(file);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, kTitle, QString::fromStdString(e.what()));
    }
}

void ReportPreview::askLoad() {
    const QString file = askFileName(this, tr("Load report"), QString(),
                                     tr("HTML files (*.html *.htm);;All files (*.*)"), false);
    if (file.isEmpty()) {
        return;
    }
    try {
        loadHtml(file);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, kTitle, QString::fromStdString(e.what()));
    }
}

void ReportPreview::reject() {
    // Esc stops a search or a PDF first; once nothing runs, it closes.
    if (busy()) {
        cancel();
        return;
    }
    QDialog::reject();
}

void ReportPreview::closeEvent(QCloseEvent* event) {
    cancel();
    QDialog::closeEvent(event);
}

}  // namespace qrv::gui
