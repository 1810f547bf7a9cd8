#include "gui/window/ResultPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/language/SystemTexts.h"
#include "gui/window/DesktopOpener.h"
#include "gui/window/QtUi.h"
#include "gui/window/SourceViewer.h"
#include "workbench/RunSummary.h"
#include "workbench/SourceColumns.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

ResultPanel::ResultPanel(QtUi& ui, QWidget* parent)
    : QGroupBox(tr("Last run"), parent),
      ui_(ui),
      opener_([panel = QPointer<ResultPanel>(this)](const QUrl& url) {
          return openOnDesktop(url, [panel, url] {
              if (panel != nullptr) {
                  panel->sayNotOpened(url.toLocalFile(), QFileInfo(url.toLocalFile()).isDir());
              }
          });
      }) {
    setObjectName(QStringLiteral("resultPanel"));
    auto* layout = new QHBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("resultSummary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setWordWrap(true);
    summary_->setAccessibleDescription(tr("Result of the last run"));
    // The words wrap to the column and scroll down rather than push the form away on a small screen.
    auto* summaryScroll = new QScrollArea(this);
    summaryScroll->setObjectName(QStringLiteral("resultSummaryScroll"));
    summaryScroll->setWidget(summary_);
    summaryScroll->setWidgetResizable(true);
    summaryScroll->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own for Tab: the words in it are (a screen reader reads them there).
    summaryScroll->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(summaryScroll, 3);

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
    layout_ = layout;

    connect(openFolder_, &QPushButton::clicked, this, [this] { open(chosenFile(false), true); });
    connect(openListing_, &QPushButton::clicked, this, [this] { open(chosenFile(true), false); });
    connect(showRejected_, &QPushButton::clicked, this, &ResultPanel::showRejectedLines);
    connect(files_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    connect(files_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { open(item->data(kPathRole).toString(), false); });
    hide();
}

void ResultPanel::setSummary(const QString& text) {
    summary_->setText(text);
    // A screen reader reads the words themselves, not a caption in their place.
    summary_->setAccessibleName(text);
}

void ResultPanel::showResult(const RunResult& result, const LastRun& run,
                             RejectedEntriesReader rejectedEntries) {
    source_ = QString::fromStdString(run.source);
    sourceFile_ = SourceFileOf(run);
    QStringList lines;
    for (const std::string& line : RunSummaryLines(run, result)) {
        lines << ShownText(line);
    }
    setSummary(lines.join(QLatin1Char('\n')));
    std::int64_t rejected = 0;
    for (const RejectedEntries& r : result.rejected) {
        rejected += r.count;
    }
    rejectedEntries_ = rejected > 0 ? std::move(rejectedEntries) : RejectedEntriesReader();
    files_->clear();
    for (const WrittenFile& f : result.written) {
        const QString path =
            QDir::toNativeSeparators(QFileInfo(QString::fromStdString(f.path.string())).absoluteFilePath());
        files_->addItem(ShownText(WrittenFileLine(f)));
        QListWidgetItem* item = files_->item(files_->count() - 1);
        item->setData(kKindRole, static_cast<int>(f.kind));
        item->setData(kPathRole, path);
        item->setToolTip(path);
    }
    showFiles(files_->count() > 0);
    updateButtons();
    show();
}

void ResultPanel::showFiles(bool shown) {
    files_->setVisible(shown);
    // Without a list of files the buttons need only their own width; the words take the rest.
    layout_->setStretch(1, shown ? 2 : 0);
}

void ResultPanel::showCancelled() {
    setSummary(tr("Cancelled: nothing was written"));
    rejectedEntries_ = {};
    files_->clear();
    showFiles(false);
    updateButtons();
    show();
}

void ResultPanel::clear() {
    source_.clear();
    rejectedEntries_ = {};
    setSummary(QString());
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

void ResultPanel::open(const QString& path, bool folder) {
    if (path.isEmpty()) {
        return;
    }
    const QString target = folder ? QFileInfo(path).absolutePath() : path;
    if (!opener_(QUrl::fromLocalFile(target))) {
        sayNotOpened(target, folder);
    }
}

void ResultPanel::sayNotOpened(const QString& target, bool folder) {
    const QString what = folder ? tr("the folder") : tr("the file");
    ui_.showMessage(MessageKind::Warning,
                    tr("Nothing could open %1 \"%2\": this desktop has no program set to open it.")
                        .arg(what, QDir::toNativeSeparators(target))
                        .toStdString());
}

void ResultPanel::showRejectedLines() {
    if (!rejectedEntries_) {
        return;
    }
    try {
        auto* viewer = new SourceViewer(source_, rejectedEntries_(), sourceFile_, this);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->show();
    } catch (const std::exception& e) {
        ui_.showMessage(MessageKind::Warning, e.what());
    }
}

void ResultPanel::updateButtons() {
    openFolder_->setEnabled(!chosenFile(false).isEmpty());
    openListing_->setEnabled(!chosenFile(true).isEmpty());
    showRejected_->setEnabled(!source_.isEmpty() && rejectedEntries_ != nullptr);
}

}  // namespace qrv::gui
