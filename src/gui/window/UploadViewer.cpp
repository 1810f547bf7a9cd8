#include "gui/window/UploadViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

#include "base/Cp874.h"
#include "gui/language/LayoutWords.h"
#include "gui/window/SourceViewer.h"
#include "workbench/UploadView.h"

namespace qrv::gui {

namespace {

QString fromCp874(const std::string& text) {
    return QString::fromStdString(cp874::toUtf8(text));
}

std::filesystem::path nativePath(const QString& file) {
#ifdef Q_OS_WIN
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

}  // namespace

QString UploadCheckWords(const UploadCheckResult& check) {
    const UploadSummary& s = check.summary;
    const QString result = check.clean()           ? QObject::tr("No fault found")
                           : check.faultCount == 1 ? QObject::tr("1 fault found")
                                                   : QObject::tr("%1 faults found").arg(check.faultCount);
    const QString product =
        s.product.empty() ? QObject::tr("cannot be told") : QString::fromStdString(s.product);
    const QString account =
        s.product == "DDR" ? QObject::tr("Account credited: %1") : QObject::tr("Account debited: %1");
    const QString hash =
        s.hash == s.hashLine ? QObject::tr("Hash: %1 (the hash line)") : QObject::tr("Hash: %1");
    return result + QLatin1Char('\n') +
           QObject::tr("Product: %1   Company: %2   Value date: %3   %4")
               .arg(product, fromCp874(s.companyId), QString::fromStdString(s.valueDate),
                    account.arg(fromCp874(s.account))) +
           QLatin1Char('\n') +
           QObject::tr("Debits: %1   Credits: %2   Total: %3   %4")
               .arg(s.debits)
               .arg(s.credits)
               .arg(QString::fromStdString(s.total.toText2()), hash.arg(QString::fromStdString(s.hash)));
}

SourceViewer* OpenUploadViewer(const QString& file, QWidget* parent) {
    auto view = std::make_shared<UploadView>(nativePath(file));
    auto* viewer = new SourceViewer(file, view->entries(), std::nullopt, parent);
    viewer->setObjectName(QStringLiteral("UploadViewer"));
    viewer->setWindowTitle(QObject::tr("Upload file - %1").arg(QFileInfo(file).fileName()));
    viewer->entryList()->setAccessibleName(QObject::tr("Faults"));
    viewer->sourceText()->setAccessibleName(QObject::tr("Upload file"));
    viewer->heading()->setObjectName(QStringLiteral("uploadCheck"));
    viewer->heading()->setText(QDir::toNativeSeparators(file) + QLatin1Char('\n') +
                               UploadCheckWords(view->check()));
    viewer->setColumnDescriber([view](std::int64_t lineNo, int column, const std::string& line) {
        if (lineNo == 1) {
            return QObject::tr("Line 1, column %1: the hash line, the SHA-1 of the lines after it")
                .arg(column);
        }
        return ColumnWords(view->placeOf(lineNo, line, column));
    });
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    return viewer;
}

}  // namespace qrv::gui
