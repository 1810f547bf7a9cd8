#include "workbench/QtUi.h"

#include "workbench/AccountEntryDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QStringList>

#include "reports/ReportPreview.h"
#include "store/ReportRunner.h"

namespace qrv::gui {

namespace {

constexpr int kRepaintEveryMs = 50;

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

QString QtFileFilter(const std::string& filter) {
    // Pairs of description and pattern separated by "|".
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

void QtUi::attach(QWidget* window, QProgressBar* progress) {
    window_ = window;
    progress_ = progress;
}

void QtUi::showMessage(MessageKind kind, const std::string& text) {
    const QString message = QString::fromStdString(text);
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
    box.exec();
}

bool QtUi::askConfirmation(const std::string& text) {
    const QString question = QString::fromStdString(text);
    if (hooks_.question) {
        return hooks_.question(question);
    }
    QMessageBox box(QMessageBox::Question, kAppTitle, question, QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtUi::setProgress(int percent) {
    if (progress_ == nullptr) {
        return;
    }
    progress_->setValue(percent);
    // A command runs on this thread: let the window repaint now and then, not on every line.
    if (!lastRepaint_.isValid() || lastRepaint_.elapsed() >= kRepaintEveryMs) {
        QApplication::processEvents();
        lastRepaint_.restart();
    }
}

void QtUi::showReport(const ShownReport& report) {
    const QString html = QString::fromStdString(RenderReportHtml(report));
    if (hooks_.report) {
        hooks_.report(report, html);
        return;
    }
    auto* preview = new ReportPreview(window_);
    preview->setPage(QString::fromStdString(report.layoutFile), html);
    if (report.modal) {
        preview->exec();
        delete preview;
    } else {
        preview->setAttribute(Qt::WA_DeleteOnClose);
        preview->show();
    }
}

std::optional<std::string> QtUi::chooseOpenFile(const std::string& filter) {
    const QString qtFilter = QtFileFilter(filter);
    std::optional<QString> chosen;
    if (hooks_.openFile) {
        chosen = hooks_.openFile(qtFilter);
    } else {
        const QString file = QFileDialog::getOpenFileName(window_, QString(), QString(), qtFilter);
        if (!file.isEmpty()) {
            chosen = file;
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    return nativePath(*chosen);
}

std::optional<std::string> QtUi::chooseSaveFile(const std::string& filter, const std::string& proposedName) {
    const QString qtFilter = QtFileFilter(filter);
    const QString proposed = QString::fromStdString(proposedName);
    std::optional<QString> chosen;
    if (hooks_.saveFile) {
        chosen = hooks_.saveFile(qtFilter, proposed);
    } else {
        // The workbench asks no overwrite question: the commands replace their outputs atomically.
        const QString file = QFileDialog::getSaveFileName(window_, QString(), proposed, qtFilter, nullptr,
                                                          QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty()) {
            chosen = file;
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    return nativePath(*chosen);
}

bool QtUi::askAccountEntry(AccountEntryDialog& dialog) {
    if (hooks_.accountEntry) {
        return hooks_.accountEntry(dialog);
    }
    return Ui::askAccountEntry(dialog);
}

}  // namespace qrv::gui
