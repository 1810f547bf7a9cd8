#include "gui/language/Language.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QTranslator>
#include <array>

#include "gui/window/RememberedWork.h"

namespace qrv::gui {

namespace {

// The translator lives as a child of the application, found by its name: one per application.
// Qt's own texts that the windows show (message box buttons, the line edits' menu, the frame's sub-window
// menu): Debian ships no Thai translation of Qt, so the program's translation holds them.
[[maybe_unused]] constexpr std::array kQtOwnTexts = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),       QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Open"),     QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),      QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),    QT_TRANSLATE_NOOP("QLineEdit", "&Undo"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Redo"),         QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Copy"),         QT_TRANSLATE_NOOP("QLineEdit", "&Paste"),
    QT_TRANSLATE_NOOP("QLineEdit", "Delete"),        QT_TRANSLATE_NOOP("QLineEdit", "Select All"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "&Restore"),  QT_TRANSLATE_NOOP("QMdiSubWindow", "&Move"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "&Size"),     QT_TRANSLATE_NOOP("QMdiSubWindow", "Mi&nimize"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "Ma&ximize"), QT_TRANSLATE_NOOP("QMdiSubWindow", "Stay on &Top"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "&Close"),    QT_TRANSLATE_NOOP("QMdiSubWindow", "Minimize"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "Maximize"),  QT_TRANSLATE_NOOP("QMdiSubWindow", "Restore Down"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "Restore"),   QT_TRANSLATE_NOOP("QMdiSubWindow", "Close"),
    QT_TRANSLATE_NOOP("QMdiSubWindow", "Menu"),
};

const QString kTranslatorName = QStringLiteral("qrvTranslator");
// The application's font before Thai replaced it, kept as a property so that English can restore it.
constexpr const char* kFontBeforeThai = "qrvFontBeforeThai";

QTranslator* installedTranslator() {
    return qApp != nullptr ? qApp->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly)
                           : nullptr;
}

bool hasThaiGlyphs(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Thai);
}

// Windows' Thai fonts first, then the TLWG fonts of Linux.
QString thaiFamily() {
    static constexpr std::array kFamilies = {"Leelawadee UI", "Tahoma", "Loma",   "Garuda",
                                             "Waree",         "Norasi", "Umpush", "Kinnari"};
    const QStringList installed = QFontDatabase::families(QFontDatabase::Thai);
    for (const char* family : kFamilies) {
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) {
            return QLatin1String(family);
        }
    }
    return installed.isEmpty() ? QString() : installed.first();
}

void chooseFont(Language language) {
    const QVariant before = qApp->property(kFontBeforeThai);
    if (language == Language::English) {
        if (before.isValid()) {
            QApplication::setFont(before.value<QFont>());
            qApp->setProperty(kFontBeforeThai, QVariant());
        }
        return;
    }
    const QFont current = QApplication::font();
    if (hasThaiGlyphs(current.family())) {
        return;
    }
    const QString family = thaiFamily();
    if (family.isEmpty()) {
        return;  // no Thai font at all: Qt's own fallback is all there is
    }
    if (!before.isValid()) {
        qApp->setProperty(kFontBeforeThai, current);
    }
    QFont thai = current;
    thai.setFamilies({family, current.family()});
    QApplication::setFont(thai);
}

}  // namespace

QString LanguageCode(Language language) {
    return language == Language::Thai ? QStringLiteral("th") : QStringLiteral("en");
}

bool LanguageFromCode(const QString& code, Language& language) {
    if (code == QLatin1String("th")) {
        language = Language::Thai;
        return true;
    }
    if (code == QLatin1String("en")) {
        language = Language::English;
        return true;
    }
    return false;
}

Language ChosenLanguage(const RememberedWork& remembered) {
    Language language = Language::English;
    if (LanguageFromCode(remembered.language(), language)) {
        return language;
    }
    return QLocale::system().language() == QLocale::Thai ? Language::Thai : Language::English;
}

void InstallLanguage(Language language) {
    if (QTranslator* old = installedTranslator()) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (language == Language::Thai) {
        auto translator = std::make_unique<QTranslator>(qApp);
        translator->setObjectName(kTranslatorName);
        if (translator->load(QStringLiteral(":/i18n/convertor-qrv_th.qm"))) {
            QCoreApplication::installTranslator(translator.release());
        }
    }
    chooseFont(language);
}

Language InstalledLanguage() {
    return installedTranslator() != nullptr ? Language::Thai : Language::English;
}

}  // namespace qrv::gui
