#pragma once

#include <QString>
#include <string>
#include <vector>

namespace qrv::gui {

// The texts that the presenter and the operations hand to the window: the captions of their tables, the
// lines of the Last run panel and the fixed messages of each command. They stay English where they are
// made (the command line, the files and the tests read them so); the window shows them in its language.

// The text in the window's language: a fixed text as translated; a text built from a pattern ("Total: %1
// baht") with the pattern translated and each part put in, itself translated where it is a known text;
// any other text as it is.
QString ShownText(const std::string& text);

// The system's few texts that are Thai in every language (the account dialog's checks, the bank window's
// delete question and hints) show in English in the English window, as ShownText gives them.

// A command's message as a message box shows it: in Thai, the translation with the original English beneath,
// so that a clerk can quote it to the help desk; in English (or with no translation) the text as shown.
// A question is asked in the window's language alone (ShownText): one language per dialog.
QString ShownMessage(const std::string& text);

// Every fixed text and pattern ShownText knows (its translations are looked up by these).
const std::vector<const char*>& SystemTexts();

}  // namespace qrv::gui
