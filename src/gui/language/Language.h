#pragma once

#include <QString>

namespace qrv::gui {

class RememberedWork;

// The languages of the window. The command line and the files written stay English whatever is chosen.
enum class Language { English, Thai };

// The settings' name of a language ("en", "th") and back; an unknown name is none.
QString LanguageCode(Language language);
bool LanguageFromCode(const QString& code, Language& language);

// The language kept in the settings; on first start the system's (Thai for a Thai system, else English).
Language ChosenLanguage(const RememberedWork& remembered);

// Makes `language` the application's: its translations (none for English) replace the ones installed
// before, and Thai gets a font with Thai glyphs when the application's font has none. Call it before the
// windows are made: the windows take their texts when they are built.
void InstallLanguage(Language language);
// The language InstallLanguage made the application's.
Language InstalledLanguage();

}  // namespace qrv::gui
