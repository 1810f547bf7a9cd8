#include "gui/window/QtUi.h"

#include "workbench/AccountEntryDialog.h"
#include "workbench/ReferenceMaintenance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStringList>
#include <QTreeView>
#include <algorithm>
#include <map>

#include "gui/language/ReportLanguage.h"
#include "gui/language/SystemTexts.h"
#include "gui/reports/ReportPreview.h"
#include "gui/sheet/SheetMappingDialog.h"
#include "gui/window/RememberedWork.h"
#include "gui/window/SourceViewer.h"
#include "layout/LayoutCatalog.h"
#include "reports/ReportRunner.h"
#include "reports/ReportSnapshot.h"
#include "workbench/ProductChoice.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

namespace {

std::string nativePath(const QString& path) {
#ifdef Q_OS_WIN
    // The program's narrow text, file names included, is UTF-8 on Windows too (the 8-bit code page
    // cannot hold every name).
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace

void FitFileDialog(QWidget& dialog) {
    const QScreen* screen = dialog.screen() != nullptr ? dialog.screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize wanted(std::min(1000, available.width() * 3 / 4), std::min(640, available.height() * 3 / 4));
    dialog.resize(wanted.expandedTo(dialog.minimumSizeHint()));
    // The list's columns keep the widths they had in a small dialog: the names get half the room.
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->resizeSection(0, dialog.width() / 2);
    }
}

void FitTitle(QMessageBox& box) {
    // A message box is as wide as its text; a short text would leave the title elided. The title bar
    // also holds the window's buttons, about six title heights.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height() + 40;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(),
                  0, 1, grid->columnCount());
}

QString QtFileFilter(const std::string& filter) {
    // Pairs of description and pattern separated by "|"; the descriptions in the window's words.
    const std::map<QString, QString> words = {{QStringLiteral("Text File"), QObject::tr("Text files")},
                                              {QStringLiteral("Spreadsheet"), QObject::tr("Spreadsheets")},
                                              {QStringLiteral("All File"), QObject::tr("All files")}};
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const auto shown = words.find(parts[i]);
        out << (shown == words.end() ? parts[i] : shown->second) + QStringLiteral(" (") + patterns +
                   QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

void QtUi::attach(QWidget* window, QProgressBar* progress) {
    window_ = window;
    progress_ = progress;
}

void QtUi::showMessage(MessageKind kind, const std::string& text) {
    const QString message = ShownMessage(text);
    if (hooks_.message) {
        hooks_.message(kind, message);
        return;
    }
    QMessageBox box(window_);
    box.setWindowTitle(kAppTitle);
    box.setText(message);
    box.setTextFormat(Qt::PlainText);
    switch (kind) {
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    FitTitle(box);
    box.exec();
}

bool QtUi::askConfirmation(const std::string& text) {
    const QString question = ShownText(text);
    if (hooks_.question) {
        return hooks_.question(question);
    }
    QMessageBox box(QMessageBox::Question, kAppTitle, question, QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    // A deletion is not done by a stray Enter.
    box.setDefaultButton(text.rfind(kConfirmDelete, 0) == 0 ? QMessageBox::No : QMessageBox::Yes);
    FitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

void QtUi::setProgress(int percent) {
    if (progress_ == nullptr) {
        return;
    }
    progress_->setValue(percent);
}

ShownReport QtUi::inWindowLanguage(const ShownReport& report) const {
    return ReportInLanguage(report, layoutFolder_);
}

void QtUi::showReport(const ShownReport& shown) {
    const ShownReport report = inWindowLanguage(shown);
    if (hooks_.report) {
        hooks_.report(report, QString::fromStdString(RenderReportHtml(report)));
        return;
    }
    showSnapshot(ReportSnapshot::take(report), report.modal);
}

void QtUi::showSnapshot(std::shared_ptr<const ReportSnapshot> snapshot, bool modal) {
    const QString layout = QString::fromStdString(snapshot->report().layoutFile);
    auto* preview = new ReportPreview(window_);
    preview->setSnapshot(std::move(snapshot));
    preview->setProposedPdfPath(ProposedPdfPath(layout, destination_, source_));
    if (modal) {
        preview->exec();
        delete preview;
    } else {
        preview->setAttribute(Qt::WA_DeleteOnClose);
        preview->show();
    }
}

QString QtUi::dialogFolder() const {
    return remembered_ == nullptr ? QString() : remembered_->folder(dialog_);
}

std::optional<std::string> QtUi::chooseOpenFile(const std::string& filter) {
    const QString qtFilter = QtFileFilter(filter);
    std::optional<QString> chosen;
    if (hooks_.openFile) {
        chosen = hooks_.openFile(qtFilter);
    } else {
        QFileDialog dialog(window_, QString(), dialogFolder(), qtFilter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        FitFileDialog(dialog);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().first();
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    if (remembered_ != nullptr) {
        remembered_->setFolder(dialog_, QFileInfo(*chosen).absolutePath());
    }
    return nativePath(*chosen);
}

std::optional<std::string> QtUi::chooseSaveFile(const std::string& filter, const std::string& proposedName) {
    const QString qtFilter = QtFileFilter(filter);
    const QString folder = dialogFolder();
    const QString name = QString::fromStdString(proposedName);
    const QString proposed = folder.isEmpty() ? name : QDir(folder).filePath(name);
    std::optional<QString> chosen;
    if (hooks_.saveFile) {
        chosen = hooks_.saveFile(qtFilter, proposed);
    } else {
        // The overwrite question is asked below, only for a file that is no earlier output.
        QFileDialog dialog(window_, QString(), proposed, qtFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        FitFileDialog(dialog);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().first();
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    approved_.clear();
    if (!mayReplace(*chosen)) {
        return std::nullopt;
    }
    approved_ = CanonicalPath(*chosen);
    if (remembered_ != nullptr) {
        remembered_->setFolder(dialog_, QFileInfo(*chosen).absolutePath());
    }
    return nativePath(*chosen);
}

bool QtUi::mayReplace(const QString& path) {
    // Replacing this product's earlier output is the usual run; any other file is asked about first.
    if (path.isEmpty() || !QFileInfo::exists(path) || CanonicalPath(path) == approved_ ||
        (remembered_ != nullptr && remembered_->isEarlierOutput(product_, path))) {
        return true;
    }
    return askDefaultNo(
        QObject::tr("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)),
        MessageKind::Warning);
}

bool QtUi::askDefaultNo(const QString& question, MessageKind kind) {
    if (hooks_.question) {
        return hooks_.question(question);
    }
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Question, kAppTitle,
                    question, QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    FitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUi::sourceFromSheet(SheetMappingForm& form) {
    SheetMappingDialog dialog(form, *this, window_);
    if (dialog.exec() != QDialog::Accepted || !form.built()) {
        return std::nullopt;
    }
    showMessage(MessageKind::Information, dialog.builtMessage());
    const QString built = QString::fromStdString(form.built()->string());
    // The built file is the product's source file: the viewer names its fields.
    const std::optional<Product> product = productForCode(form.product());
    const auto file = product ? std::optional(productInfo(*product).source) : std::nullopt;
    auto* viewer = new SourceViewer(built, {}, file, window_);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
    return nativePath(built);
}

bool QtUi::askClearForm(const std::string& text) {
    const QString warning = ShownText(text);
    if (hooks_.question) {
        return hooks_.question(warning);
    }
    QMessageBox box(QMessageBox::Warning, kAppTitle, warning, QMessageBox::Ok | QMessageBox::Cancel, window_);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(
        QObject::tr("OK clears the form, the results of the last run with it, and "
                    "switches. Cancel keeps this product and its fields."));
    box.button(QMessageBox::Ok)->setText(QObject::tr("Clear Form"));
    box.setDefaultButton(QMessageBox::Cancel);
    FitTitle(box);
    return box.exec() == QMessageBox::Ok;
}

bool QtUi::askAccountEntry(AccountEntryDialog& dialog) {
    if (hooks_.accountEntry) {
        return hooks_.accountEntry(dialog);
    }
    return Ui::askAccountEntry(dialog);
}

}  // namespace qrv::gui
