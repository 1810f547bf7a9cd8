#include "gui/reports/ReportPreview.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/QrvError.h"
#include "gui/reports/PageView.h"
#include "gui/workbench/QtUi.h"
#include "reports/ReportPages.h"
#include "reports/ReportSnapshot.h"

namespace qrv::gui {

namespace {

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

ReportPreview::ReportPreview(QWidget* parent)
    : QDialog(parent),
      printer_(QPrinter::HighResolution),
      views_(new QStackedWidget(this)),
      pages_(nullptr),
      pageNumber_(new QSpinBox(this)),
      pageTotal_(new QLabel(this)),
      findBar_(new QWidget(this)),
      findEdit_(new QLineEdit(findBar_)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setUpPrinter(printer_);
    pages_ = new PageView(printer_, views_);
    views_->addWidget(pages_);
    // As large as a report wants, never larger than the screen it opens on.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(1000, available.width() * 9 / 10), std::min(900, available.height() * 9 / 10));

    // Two rows: the file commands, then the page view; each fits a small screen's width.
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("previewTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* pageTools = new QToolBar(this);
    pageTools->setObjectName(QStringLiteral("previewPages"));
    pageTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QToolBar* bar = tools;
    auto add = [this, &bar](const QString& text, const QKeySequence& key, const char* name, auto slot) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setToolTip(QString(text).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                           action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(tr("&Print..."), QKeySequence::Print, "actPrint", &ReportPreview::print);
    add(tr("Save as P&DF..."), QKeySequence(Qt::CTRL | Qt::Key_S), "actSavePdf", &ReportPreview::askSavePdf);
    add(tr("Save as &HTML..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "actSaveHtml",
        &ReportPreview::askSaveHtml);
    add(tr("&Load..."), QKeySequence::Open, "actLoad", &ReportPreview::askLoad);
    tools->addSeparator();
    add(tr("&Find"), QKeySequence::Find, "actFind", &ReportPreview::showFind);
    tools->addSeparator();
    add(tr("&Close"), QKeySequence::Close, "actClose", &ReportPreview::close);
    bar = pageTools;
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
    QAction* text =
        add(tr("&Text"), QKeySequence(Qt::CTRL | Qt::Key_3), "actTextView", &ReportPreview::showTextView);
    auto* view = new QActionGroup(this);
    for (QAction* a : {single, all, text}) {
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
    add(tr("Ne&xt"), QKeySequence(Qt::Key_PageDown), "actNextPage", [this] { showPage(currentPage() + 1); });
    connect(pageNumber_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != currentPage()) {
            pages_->setCurrentPage(page);
        }
    });
    connect(pages_, &PageView::pagesChanged, this, &ReportPreview::pageShown);

    auto* findLayout = new QHBoxLayout(findBar_);
    findLayout->setContentsMargins(4, 0, 4, 0);
    auto* findLabel = new QLabel(tr("Find &text:"), findBar_);
    findLabel->setBuddy(findEdit_);
    findEdit_->setObjectName(QStringLiteral("findText"));
    findEdit_->setAccessibleName(QStringLiteral("Find text:"));
    auto* findNext = new QPushButton(tr("Find &Next"), findBar_);
    findNext->setObjectName(QStringLiteral("findNext"));
    findLayout->addWidget(findLabel);
    findLayout->addWidget(findEdit_, 1);
    findLayout->addWidget(findNext);
    auto next = [this] {
        if (!findEdit_->text().isEmpty() && !findText(findEdit_->text())) {
            QMessageBox box(QMessageBox::Information, kTitle,
                            tr("\"%1\" was not found.").arg(findEdit_->text()), QMessageBox::Ok, this);
            FitTitle(box);
            box.exec();
        }
    };
    connect(findNext, &QPushButton::clicked, this, next);
    connect(findEdit_, &QLineEdit::returnPressed, this, next);
    findBar_->hide();

    pages_->setObjectName(QStringLiteral("reportView"));
    pages_->setAccessibleName(QStringLiteral("Report"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(pageTools);
    layout->addWidget(findBar_);
    layout->addWidget(views_, 1);
    // A screen reader reads running text; the pages are pictures.
    if (QAccessible::isActive()) {
        text->setChecked(true);
        showTextView();
    }
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
    text_->setHtml(report_ ? QString::fromStdString(report_->render(static_cast<size_t>(chunk))) : html_);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setSnapshot(std::shared_ptr<const ReportSnapshot> snapshot) {
    const QString layout = QString::fromStdString(snapshot->report().layoutFile);
    report_ = std::make_shared<const ReportPages>(std::move(snapshot));
    html_.clear();
    display(layout);
}

void ReportPreview::setPage(const QString& layout, const QString& html) {
    report_.reset();
    html_ = html;
    display(layout);
}

void ReportPreview::display(const QString& layout) {
    title_ = layout.isEmpty() ? tr("Report") : tr("Report - %1").arg(layout);
    printer_.setDocName(title_);
    setWindowTitle(title_);
    found_ = -1;
    foundChunk_ = 0;
    textChunk_ = -1;
    pages_->setTitle(title_);
    if (report_) {
        const std::shared_ptr<const ReportPages> pages = report_;
        pages_->setChunks(
            static_cast<int>(pages->chunkCount()),
            [pages](int chunk) { return QString::fromStdString(pages->render(static_cast<size_t>(chunk))); },
            [pages](int chunk) { return static_cast<qint64>(pages->chunkRows(static_cast<size_t>(chunk))); });
    } else {
        const QString html = html_;
        pages_->setChunks(
            1, [html](int) { return html; }, [](int) { return qint64{0}; });
    }
    fillTextView(0);
    pageShown();
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

bool ReportPreview::findText(const QString& text) {
    const int chunks = pages_->chunkCount();
    if (chunks == 0 || text.isEmpty()) {
        return false;
    }
    // From just after the last match, or from the current page's chunk; once round, back to the start.
    const int start = found_ < 0 ? pages_->chunkOf(currentPage()).first : foundChunk_;
    int from = found_ < 0 ? 0 : found_ + 1;
    QTextCursor match;
    int chunk = start;
    for (int step = 0; step <= chunks && match.isNull(); ++step, from = 0) {
        chunk = (start + step) % chunks;
        const std::unique_ptr<QTextDocument> doc = pages_->makeDocument(chunk);
        const QTextCursor found = doc->find(text, from);
        if (!found.isNull()) {
            // Found: its position in the chunk as the view lays it out.
            match = pages_->document(chunk)->find(text, from);
        }
    }
    if (match.isNull()) {
        return false;
    }
    found_ = match.selectionStart();
    foundChunk_ = chunk;
    if (text_ != nullptr) {  // the text view holds the same text
        fillTextView(chunk);
        QTextCursor inText(text_->document());
        inText.setPosition(match.selectionStart());
        inText.setPosition(match.selectionEnd(), QTextCursor::KeepAnchor);
        text_->setTextCursor(inText);
    }
    // The page that holds the match's line.
    const QTextDocument* doc = match.document();
    const QTextBlock block = match.block();
    const QRectF blockRect = doc->documentLayout()->blockBoundingRect(block);
    qreal y = blockRect.top();
    if (const QTextLayout* lines = block.layout()) {
        const QTextLine line = lines->lineForTextPosition(found_ - block.position());
        if (line.isValid()) {
            y += line.y();
        }
    }
    showPage(pages_->pageOf(chunk, static_cast<int>(y / doc->pageSize().height())));
    return true;
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

void ReportPreview::savePdf(const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(title_);
    printer.setCreator(kTitle);
    setUpPrinter(printer);
    pages_->print(printer);
    if (!QFile::exists(file)) {
        throw QrvError("Cannot write the report to \"" + file.toStdString() + "\"");
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
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save as PDF"), proposedPdf_,
                                                        tr("PDF File (*.pdf);;All File (*.*)"));
    if (chosen.isEmpty()) {
        return;
    }
    const QString file = WithPdfSuffix(chosen);
    if (file != chosen && QFileInfo::exists(file) &&
        QMessageBox::question(this, kTitle, tr("%1 already exists.\nDo you want to replace it?").arg(file),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    try {
        savePdf(file);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, kTitle, QString::fromStdString(e.what()));
    }
}

void ReportPreview::askSaveHtml() {
    const QString file = QFileDialog::getSaveFileName(this, tr("Save as HTML"), QString(),
                                                      tr("HTML File (*.html *.htm);;All File (*.*)"));
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
    const QString file = QFileDialog::getOpenFileName(this, tr("Load report"), QString(),
                                                      tr("HTML File (*.html *.htm);;All File (*.*)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        loadHtml(file);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, kTitle, QString::fromStdString(e.what()));
    }
}

}  // namespace qrv::gui
