#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

namespace qrv::gui {

// A file's path as outputs are compared: links resolved when it exists, absolute otherwise.
QString CanonicalPath(const QString& path);

// What the program keeps between sessions in the platform's settings store: the last folder of each
// file dialog, the last product, the non-secret fields typed for each product, the recent source files, the
// window's language and the outputs each product wrote. Passwords and hash values are never kept.
class RememberedWork {
  public:
    // `file` empty: the platform's settings store; otherwise an INI file of that path.
    explicit RememberedWork(const QString& file = {});

    // The dialog's last folder; the last folder of any dialog when it has none yet.
    QString folder(const QString& dialog) const;
    void setFolder(const QString& dialog, const QString& folder);

    // The window's language ("en", "th"); empty until one is chosen.
    QString language() const;
    void setLanguage(const QString& code);

    QString lastProduct() const;
    void setLastProduct(const QString& product);

    // Field name to text; only fields with text are kept.
    std::map<QString, QString> fields(const QString& product) const;
    void setField(const QString& product, const QString& field, const QString& text);

    // Most recent first, at most kRecentFiles.
    static constexpr int kRecentFiles = 8;
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);

    // A file this product wrote in an earlier run: the Save dialog replaces it without asking.
    bool isEarlierOutput(const QString& product, const QString& path) const;
    void addOutput(const QString& product, const QString& path);

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace qrv::gui
