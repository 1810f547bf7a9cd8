#include "gui/window/SourceViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <utility>

#include "base/Cp874.h"
#include "gui/language/LayoutWords.h"
#include "gui/language/SystemTexts.h"
#include "io/LineReader.h"
#include "workbench/SourceColumns.h"

namespace qrv::gui {

namespace {

// The characters [start, end) of `text` widened to whole grapheme clusters: a format or selection that
// starts or ends inside one (a column on a Thai vowel or tone mark) splits its shaping, and the marks
// are then dropped or drawn over the next letter.
std::pair<int, int> wholeClusters(const QString& text, int start, int end) {
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    start = std::clamp(start, 0, static_cast<int>(text.size()));
    end = std::clamp(end, start, static_cast<int>(text.size()));
    clusters.setPosition(start);
    if (!clusters.isAtBoundary()) {
        start = static_cast<int>(clusters.toPreviousBoundary());
    }
    clusters.setPosition(end);
    if (!clusters.isAtBoundary()) {
        end = static_cast<int>(clusters.toNextBoundary());
    }
    return {start, end};
}

// Marks the rejected lines and their fields as the view paints them.
class RejectedLineMarks : public QSyntaxHighlighter {
  public:
    RejectedLineMarks(QTextDocument* document, const std::vector<RejectedEntry>& entries)
        : QSyntaxHighlighter(document) {
        for (const RejectedEntry& e : entries) {
            marks_[static_cast<int>(e.line - 1)].emplace_back(e.firstColumn, e.lastColumn);
        }
        line_.setBackground(QColor(0xff, 0xe8, 0xe8));
        field_.setBackground(QColor(0xff, 0xa0, 0xa0));
        field_.setFontWeight(QFont::Bold);
    }

  protected:
    void highlightBlock(const QString& text) override {
        const auto marks = marks_.find(currentBlock().blockNumber());
        if (marks == marks_.end()) {
            return;
        }
        setFormat(0, static_cast<int>(text.size()), line_);
        for (const auto& [first, last] : marks->second) {
            if (first > 0) {
                const auto [start, end] = wholeClusters(text, first - 1, last);
                setFormat(start, end - start, field_);
            }
        }
    }

  private:
    std::map<int, std::vector<std::pair<int, int>>> marks_;
    QTextCharFormat line_;
    QTextCharFormat field_;
};

// The source as text: code page 874 decoded, line ends dropped.
QString readSource(const QString& source) {
#ifdef Q_OS_WIN
    LineReader reader(std::filesystem::path(source.toStdWString()));
#else
    LineReader reader(std::filesystem::path(QFile::encodeName(source).toStdString()));
#endif
    QString text;
    std::string_view line;
    while (reader.next(line)) {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        text += QString::fromStdString(cp874::toUtf8(line));
        text += QLatin1Char('\n');
    }
    return text;
}

QString entryText(const RejectedEntry& e) {
    const QString message = ShownText(e.message);
    if (e.firstColumn == 0) {
        return QObject::tr("Line %1: %2").arg(e.line).arg(message);
    }
    if (e.firstColumn == e.lastColumn) {
        return QObject::tr("Line %1, column %2: %3").arg(e.line).arg(e.firstColumn).arg(message);
    }
    return QObject::tr("Line %1, columns %2-%3: %4")
        .arg(e.line)
        .arg(e.firstColumn)
        .arg(e.lastColumn)
        .arg(message);
}

// A line of the view as the code page 874 bytes it was read from: one byte per character, a byte the code
// page leaves undefined (shown as U+FFFD) as a byte no layout takes for a digit or code.
std::string cp874Line(const QString& text) {
    QString shown = text;
    shown.replace(QChar(0xFFFD), QLatin1Char('?'));
    return cp874::fromUtf8(shown.toStdString()).value_or(std::string(static_cast<size_t>(text.size()), '?'));
}

}  // namespace

QFont SourceFont() {
    // Monospaced Thai faces that place vowels and tone marks over their letter (the "Tlwg Mono" face
    // draws them over the next letter), then the Windows faces with Thai, then any monospaced face.
    QFont font(QStringLiteral("Tlwg Typo"));
    font.setFamilies({QStringLiteral("Tlwg Typo"), QStringLiteral("Tlwg Typist"),
                      QStringLiteral("Tlwg Typewriter"), QStringLiteral("Consolas"),
                      QStringLiteral("Leelawadee UI"), QStringLiteral("Tahoma"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    return font;
}

SourceViewer::SourceViewer(const QString& source, std::vector<RejectedEntry> entries,
                           std::optional<layout::SourceFile> file, QWidget* parent)
    : QDialog(parent), entries_(std::move(entries)), file_(file) {
    setObjectName(QStringLiteral("SourceViewer"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    // Without rejected entries it shows a file, as the one the mapping dialog built: no list of none.
    const bool rejected = !entries_.empty();
    setWindowTitle(
        (rejected ? tr("Rejected lines - %1") : tr("Source file - %1")).arg(QFileInfo(source).fileName()));

    const QString shownSource = QDir::toNativeSeparators(source);
    heading_ = new QLabel(!rejected ? shownSource
                          : entries_.size() == 1
                              ? tr("1 rejected entry in %1").arg(shownSource)
                              : tr("%1 rejected entries in %2").arg(entries_.size()).arg(shownSource),
                          this);
    heading_->setTextFormat(Qt::PlainText);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("rejectedEntries"));
    list_->setAccessibleName(tr("Rejected entries"));
    for (const RejectedEntry& e : entries_) {
        list_->addItem(entryText(e));
        list_->item(list_->count() - 1)->setToolTip(entryText(e));
    }
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("sourceText"));
    text_->setAccessibleName(tr("Source file"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(SourceFont());
    text_->setPlainText(readSource(source));
    new RejectedLineMarks(text_->document(), entries_);
    text_->viewport()->installEventFilter(this);
    fieldLine_ = new QLabel(this);
    fieldLine_->setObjectName(QStringLiteral("fieldUnderCursor"));
    fieldLine_->setTextFormat(Qt::PlainText);
    fieldLine_->setWordWrap(true);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(list_);
    split->addWidget(text_);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(split, 1);
    layout->addWidget(fieldLine_);

    connect(list_, &QListWidget::currentRowChanged, this, &SourceViewer::showEntry);
    connect(text_, &QPlainTextEdit::cursorPositionChanged, this, &SourceViewer::describeCursor);
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(1200, available.width() * 9 / 10), std::min(800, available.height() * 9 / 10));
    split->setSizes({width() * 2 / 5, width() * 3 / 5});
    list_->setVisible(rejected);
    if (rejected) {
        list_->setCurrentRow(0);
    }
    describeCursor();
}

void SourceViewer::showEntry(int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
        return;
    }
    const RejectedEntry& e = entries_[static_cast<size_t>(index)];
    const QTextBlock block = text_->document()->findBlockByNumber(static_cast<int>(e.line - 1));
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    if (e.firstColumn > 0 && e.firstColumn <= block.length()) {
        const auto [start, end] = wholeClusters(block.text(), e.firstColumn - 1, e.lastColumn);
        cursor.setPosition(block.position() + start);
        cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
    }
    text_->setTextCursor(cursor);
    text_->centerCursor();
    showFromItsStart(cursor);
}

void SourceViewer::showFromItsStart(const QTextCursor& field) {
    // The view scrolls sideways to the selection's end; the field is read from its first column (a sign
    // there may be the fault), so it is brought in whole, or from its start when it is wider than the view.
    QTextCursor start(field);
    start.setPosition(field.selectionStart());
    QTextCursor end(field);
    end.setPosition(field.selectionEnd());
    QScrollBar* bar = text_->horizontalScrollBar();
    const int margin = text_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2;
    const int left = text_->cursorRect(start).left() + bar->value();
    const int right = text_->cursorRect(end).right() + bar->value();
    const int width = text_->viewport()->width();
    int value = bar->value();
    if (right + margin > value + width) {
        value = right + margin - width;
    }
    if (left - margin < value) {
        value = left - margin;
    }
    bar->setValue(value);
}

QString SourceViewer::describePosition(int position) const {
    const QTextBlock block = text_->document()->findBlock(position);
    if (!block.isValid()) {
        return {};
    }
    // One character per code page 874 byte: a column is a character's place in its line. The cursor
    // stands on a whole cluster (a letter with its marks), so a column is that of the cluster's letter.
    const std::int64_t lineNo = block.blockNumber() + 1;
    const int column = position - block.position() + 1;
    if (describer_) {
        return describer_(lineNo, column, cp874Line(block.text()));
    }
    if (!file_) {
        return tr("Line %1, column %2").arg(lineNo).arg(column);
    }
    const std::string firstLine = cp874Line(text_->document()->firstBlock().text());
    const std::string line = lineNo == 1 ? firstLine : cp874Line(block.text());
    return ColumnWords(PlaceOfColumn(*file_, firstLine, lineNo, line, column));
}

void SourceViewer::describeCursor() {
    const QTextCursor cursor = text_->textCursor();
    // A selected field is told by its first column.
    const QString words =
        describePosition(cursor.hasSelection() ? cursor.selectionStart() : cursor.position());
    fieldLine_->setText(words);
    fieldLine_->setAccessibleName(words);
}

bool SourceViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QTextCursor cursor = text_->cursorForPosition(help->pos());
        // The nearest place between characters: the character under the mouse is the one before it when
        // the mouse is left of that place.
        if (help->pos().x() < text_->cursorRect(cursor).x() && !cursor.atBlockStart()) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
        }
        QToolTip::showText(help->globalPos(), describePosition(cursor.position()), text_->viewport());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qrv::gui
