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
#include <QPrintDialog>
#include <QPrintPreviewWidget>
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

#include "base/QrvError.h"
#include "gui/workbench/QtUi.h"

Q_GUI_EXPORT int qt_defaultDpiX();

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
      document_(std::make_unique<QTextDocument>()),
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
    pages_ = new QPrintPreviewWidget(&printer_, views_);
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
        pages_->setViewMode(QPrintPreviewWidget::SinglePageView);
        views_->setCurrentWidget(pages_);
    });
    QAction* all = add(tr("All Pag&es"), QKeySequence(Qt::CTRL | Qt::Key_2), "actAllPages", [this] {
        pages_->setViewMode(QPrintPreviewWidget::AllPagesView);
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
    connect(pages_, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::pageShown);

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
    connect(pages_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { document_->print(printer); });
    // Thai glyphs come from the Thai fonts when a layout names none.
    QFont font(QStringLiteral("Loma"));
    font.setFamilies({QStringLiteral("Loma"), QStringLiteral("Garuda"), QStringLiteral("Norasi")});
    document_->setDefaultFont(font);
    // A line breaks between words only: a Thai word or a hash that does not fit stays whole.
    QTextOption option = document_->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    document_->setDefaultTextOption(option);

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
        text_->document()->setDefaultFont(document_->defaultFont());
        text_->document()->setDefaultTextOption(document_->defaultTextOption());
        text_->setHtml(html_);
        views_->addWidget(text_);
    }
    views_->setCurrentWidget(text_);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::paginate() {
    // The document is laid out in pages of the printer's page, so the preview, the printout and the PDF
    // break it in the same places.
    const QSizeF inches = printer_.pageRect(QPrinter::Inch).size();
    document_->setPageSize(inches * qt_defaultDpiX());
}

void ReportPreview::setPage(const QString& layout, const QString& html) {
    html_ = html;
    document_->setHtml(html);
    if (text_ != nullptr) {
        text_->setHtml(html);
    }
    title_ = layout.isEmpty() ? tr("Report") : tr("Report - %1").arg(layout);
    document_->setMetaInformation(QTextDocument::DocumentTitle, title_);
    printer_.setDocName(title_);
    setWindowTitle(title_);
    found_ = -1;
    paginate();
    pages_->updatePreview();
    pageShown();
}

int ReportPreview::pageCount() const {
    return pages_->pageCount();
}

int ReportPreview::currentPage() const {
    return pages_->currentPage();
}

void ReportPreview::showPage(int page) {
    pages_->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    pageShown();
}

void ReportPreview::pageShown() {
    pageNumber_->blockSignals(true);
    pageNumber_->setRange(1, std::max(1, pageCount()));
    pageNumber_->setValue(std::max(1, currentPage()));
    pageNumber_->blockSignals(false);
    pageTotal_->setText(tr(" of %1 ").arg(pageCount()));
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
    QTextCursor match = document_->find(text, found_ < 0 ? 0 : found_ + 1);
    if (match.isNull()) {
        match = document_->find(text, 0);  // from the top again
    }
    if (match.isNull()) {
        return false;
    }
    found_ = match.selectionStart();
    if (text_ != nullptr) {  // the text view holds the same text
        QTextCursor inText(text_->document());
        inText.setPosition(match.selectionStart());
        inText.setPosition(match.selectionEnd(), QTextCursor::KeepAnchor);
        text_->setTextCursor(inText);
    }
    // The page that holds the match's line.
    const QTextBlock block = match.block();
    const QRectF blockRect = document_->documentLayout()->blockBoundingRect(block);
    qreal y = blockRect.top();
    if (const QTextLayout* lines = block.layout()) {
        const QTextLine line = lines->lineForTextPosition(found_ - block.position());
        if (line.isValid()) {
            y += line.y();
        }
    }
    showPage(static_cast<int>(y / document_->pageSize().height()) + 1);
    return true;
}

void ReportPreview::showFind() {
    findBar_->show();
    findEdit_->setFocus();
    findEdit_->selectAll();
}

void ReportPreview::saveHtml(const QString& file) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw QrvError("Cannot write the report to \"" + file.toStdString() +
                       "\": " + out.errorString().toStdString());
    }
    const QByteArray bytes = html_.toUtf8();
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        throw QrvError("Cannot write the report to \"" + file.toStdString() +
                       "\": " + out.errorString().toStdString());
    }
}

void ReportPreview::savePdf(const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(title_);
    printer.setCreator(kTitle);
    setUpPrinter(printer);
    document_->print(&printer);
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
        document_->print(&printer);
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
