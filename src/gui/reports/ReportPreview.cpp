#include "gui/reports/ReportPreview.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/QrvError.h"

namespace qrv::gui {

namespace {

const QString kTitle = QStringLiteral("Convertor QRV");

void setUpPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 14, 12, 14), QPageLayout::Millimeter);
}

}  // namespace

ReportPreview::ReportPreview(QWidget* parent)
    : QDialog(parent),
      browser_(new QTextBrowser(this)),
      findBar_(new QWidget(this)),
      findEdit_(new QLineEdit(findBar_)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(900, 700);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("previewTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, tools](const QString& text, const QKeySequence& key, const char* name, auto slot) {
        QAction* action = tools->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setToolTip(QString(text).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                           action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(tr("Zoom &In"), QKeySequence::ZoomIn, "actZoomIn", &ReportPreview::zoomIn);
    add(tr("Zoom &Out"), QKeySequence::ZoomOut, "actZoomOut", &ReportPreview::zoomOut);
    add(tr("&Find"), QKeySequence::Find, "actFind", &ReportPreview::showFind);
    tools->addSeparator();
    add(tr("&Print..."), QKeySequence::Print, "actPrint", &ReportPreview::print);
    add(tr("Save as P&DF..."), QKeySequence(Qt::CTRL | Qt::Key_S), "actSavePdf", &ReportPreview::askSavePdf);
    add(tr("Save as &HTML..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "actSaveHtml",
        &ReportPreview::askSaveHtml);
    add(tr("&Load..."), QKeySequence::Open, "actLoad", &ReportPreview::askLoad);
    tools->addSeparator();
    add(tr("&Close"), QKeySequence::Close, "actClose", &ReportPreview::close);

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
            QMessageBox::information(this, kTitle, tr("\"%1\" was not found.").arg(findEdit_->text()));
        }
    };
    connect(findNext, &QPushButton::clicked, this, next);
    connect(findEdit_, &QLineEdit::returnPressed, this, next);
    findBar_->hide();

    browser_->setObjectName(QStringLiteral("reportView"));
    browser_->setAccessibleName(QStringLiteral("Report"));
    browser_->setOpenLinks(false);
    // Thai glyphs come from the Thai fonts when a layout names none.
    QFont font(QStringLiteral("Loma"));
    font.setFamilies({QStringLiteral("Loma"), QStringLiteral("Garuda"), QStringLiteral("Norasi")});
    browser_->document()->setDefaultFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(findBar_);
    layout->addWidget(browser_, 1);
}

void ReportPreview::setPage(const QString& layout, const QString& html) {
    html_ = html;
    browser_->setHtml(html);
    setWindowTitle(layout.isEmpty() ? tr("Report") : tr("Report - %1").arg(layout));
}

void ReportPreview::zoomIn() {
    browser_->zoomIn(1);
    ++zoom_;
}

void ReportPreview::zoomOut() {
    browser_->zoomOut(1);
    --zoom_;
}

bool ReportPreview::findText(const QString& text) {
    if (browser_->find(text)) {
        return true;
    }
    browser_->moveCursor(QTextCursor::Start);
    return browser_->find(text);
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
    setUpPrinter(printer);
    browser_->document()->print(&printer);
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
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        browser_->document()->print(&printer);
    }
}

void ReportPreview::askSavePdf() {
    const QString file = QFileDialog::getSaveFileName(this, tr("Save as PDF"), QString(),
                                                      tr("PDF File (*.pdf);;All File (*.*)"));
    if (file.isEmpty()) {
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
