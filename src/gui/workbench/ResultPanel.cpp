#include "gui/workbench/ResultPanel.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/workbench/QtUi.h"
#include "gui/workbench/SourceViewer.h"
#include "upload/ListingEntry.h"
#include "workbench/RunSummary.h"

namespace qrv::gui {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

ResultPanel::ResultPanel(QWidget* parent) : QGroupBox(tr("Last run"), parent) {
    setObjectName(QStringLiteral("resultPanel"));
    auto* layout = new QHBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("resultSummary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setAccessibleName(tr("Result of the last run"));
    layout->addWidget(summary_, 1);

    auto* right = new QVBoxLayout;
    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("resultFiles"));
    files_->setAccessibleName(tr("Files written"));
    right->addWidget(files_, 1);
    auto* buttons = new QHBoxLayout;
    openFolder_ = new QPushButton(tr("Open folder"), this);
    openFolder_->setObjectName(QStringLiteral("openResultFolder"));
    openFolder_->setAutoDefault(false);
    openListing_ = new QPushButton(tr("Open listing"), this);
    openListing_->setObjectName(QStringLiteral("openResultListing"));
    openListing_->setAutoDefault(false);
    buttons->addWidget(openFolder_);
    buttons->addWidget(openListing_);
    showRejected_ = new QPushButton(tr("Show rejected lines"), this);
    showRejected_->setObjectName(QStringLiteral("showRejectedLines"));
    showRejected_->setAutoDefault(false);
    buttons->addWidget(showRejected_);
    buttons->addStretch(1);
    right->addLayout(buttons);
    layout->addLayout(right, 2);

    connect(openFolder_, &QPushButton::clicked, this, [this] {
        const QString file = chosenFile(false);
        if (!file.isEmpty()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
        }
    });
    connect(openListing_, &QPushButton::clicked, this, [this] {
        const QString file = chosenFile(true);
        if (!file.isEmpty()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        }
    });
    connect(showRejected_, &QPushButton::clicked, this, &ResultPanel::showRejectedLines);
    connect(files_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    connect(files_, &QListWidget::itemActivated, this, [](QListWidgetItem* item) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(item->data(kPathRole).toString()));
    });
    hide();
}

void ResultPanel::showResult(const RunResult& result, const QString& source) {
    source_ = source;
    QStringList lines;
    for (const std::string& line : RunSummaryLines(result)) {
        lines << QString::fromStdString(line);
    }
    summary_->setText(lines.join(QLatin1Char('\n')));
    files_->clear();
    for (const WrittenFile& f : result.written) {
        const QString path =
            QDir::toNativeSeparators(QFileInfo(QString::fromStdString(f.path.string())).absoluteFilePath());
        files_->addItem(QString::fromStdString(WrittenFileLine(f)));
        QListWidgetItem* item = files_->item(files_->count() - 1);
        item->setData(kKindRole, static_cast<int>(f.kind));
        item->setData(kPathRole, path);
        item->setToolTip(path);
    }
    files_->setVisible(files_->count() > 0);
    updateButtons();
    show();
}

void ResultPanel::showCancelled() {
    summary_->setText(tr("Cancelled: nothing was written"));
    files_->clear();
    files_->hide();
    updateButtons();
    show();
}

void ResultPanel::clear() {
    source_.clear();
    summary_->clear();
    files_->clear();
    updateButtons();
    hide();
}

QString ResultPanel::summary() const {
    return summary_->text();
}

QStringList ResultPanel::fileLines() const {
    QStringList lines;
    for (int i = 0; i < files_->count(); ++i) {
        lines << files_->item(i)->text();
    }
    return lines;
}

QStringList ResultPanel::files() const {
    QStringList paths;
    for (int i = 0; i < files_->count(); ++i) {
        paths << files_->item(i)->data(kPathRole).toString();
    }
    return paths;
}

QString ResultPanel::chosenFile(bool listingOnly) const {
    const auto isListing = [](const QListWidgetItem* item) {
        return item->data(kKindRole).toInt() == static_cast<int>(OutputKind::Listing);
    };
    const QListWidgetItem* current = files_->currentItem();
    if (current != nullptr && (!listingOnly || isListing(current))) {
        return current->data(kPathRole).toString();
    }
    for (int i = 0; i < files_->count(); ++i) {
        if (!listingOnly || isListing(files_->item(i))) {
            return files_->item(i)->data(kPathRole).toString();
        }
    }
    return {};
}

QStringList ResultPanel::listings() const {
    QStringList paths;
    for (int i = 0; i < files_->count(); ++i) {
        if (files_->item(i)->data(kKindRole).toInt() == static_cast<int>(OutputKind::Listing)) {
            paths << files_->item(i)->data(kPathRole).toString();
        }
    }
    return paths;
}

void ResultPanel::showRejectedLines() {
    std::vector<std::filesystem::path> paths;
    for (const QString& listing : listings()) {
        paths.emplace_back(listing.toStdU16String());
    }
    try {
        auto* viewer = new SourceViewer(source_, ReadListingEntries(paths), this);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->show();
    } catch (const std::exception& e) {
        QMessageBox::warning(this, kAppTitle, QString::fromStdString(e.what()));
    }
}

void ResultPanel::updateButtons() {
    openFolder_->setEnabled(!chosenFile(false).isEmpty());
    openListing_->setEnabled(!chosenFile(true).isEmpty());
    showRejected_->setEnabled(!source_.isEmpty() && !listings().isEmpty());
}

}  // namespace qrv::gui
