#include "gui/window/RememberedWork.h"

#include <QFileInfo>

namespace qrv::gui {

namespace {

constexpr int kOutputsPerProduct = 20;

// Puts `item` first, without repeating it, and keeps at most `limit` items.
QStringList pushedFront(QStringList list, const QString& item, int limit) {
    list.removeAll(item);
    list.prepend(item);
    while (list.size() > limit) {
        list.removeLast();
    }
    return list;
}

}  // namespace

QString CanonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

RememberedWork::RememberedWork(const QString& file)
    : settings_(file.isEmpty() ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                             QStringLiteral("convertor-qrv"),
                                                             QStringLiteral("convertor-qrv"))
                               : std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

QString RememberedWork::folder(const QString& dialog) const {
    const QString own = settings_->value(QStringLiteral("folders/") + dialog).toString();
    return own.isEmpty() ? settings_->value(QStringLiteral("folders/last")).toString() : own;
}

void RememberedWork::setFolder(const QString& dialog, const QString& folder) {
    settings_->setValue(QStringLiteral("folders/") + dialog, folder);
    settings_->setValue(QStringLiteral("folders/last"), folder);
}

QString RememberedWork::language() const {
    return settings_->value(QStringLiteral("language")).toString();
}

void RememberedWork::setLanguage(const QString& code) {
    settings_->setValue(QStringLiteral("language"), code);
}

QString RememberedWork::lastProduct() const {
    return settings_->value(QStringLiteral("lastProduct")).toString();
}

void RememberedWork::setLastProduct(const QString& product) {
    settings_->setValue(QStringLiteral("lastProduct"), product);
}

std::map<QString, QString> RememberedWork::fields(const QString& product) const {
    std::map<QString, QString> out;
    settings_->beginGroup(QStringLiteral("fields/") + product);
    for (const QString& key : settings_->childKeys()) {
        out[key] = settings_->value(key).toString();
    }
    settings_->endGroup();
    return out;
}

void RememberedWork::setField(const QString& product, const QString& field, const QString& text) {
    if (!text.isEmpty()) {
        settings_->setValue(QStringLiteral("fields/") + product + QLatin1Char('/') + field, text);
    }
}

QStringList RememberedWork::recentFiles() const {
    return settings_->value(QStringLiteral("recentFiles")).toStringList();
}

void RememberedWork::addRecentFile(const QString& path) {
    settings_->setValue(QStringLiteral("recentFiles"), pushedFront(recentFiles(), path, kRecentFiles));
}

bool RememberedWork::isEarlierOutput(const QString& product, const QString& path) const {
    return settings_->value(QStringLiteral("outputs/") + product)
        .toStringList()
        .contains(CanonicalPath(path));
}

void RememberedWork::addOutput(const QString& product, const QString& path) {
    const QString key = QStringLiteral("outputs/") + product;
    settings_->setValue(
        key, pushedFront(settings_->value(key).toStringList(), CanonicalPath(path), kOutputsPerProduct));
}

}  // namespace qrv::gui
