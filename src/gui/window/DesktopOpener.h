#pragma once

#include <QUrl>
#include <functional>

namespace qrv::gui {

// Hands a file or folder to the desktop's program for it. False when nothing could take it at once.
// Where the desktop's opener says only afterwards that nothing opened it (xdg-open, which finds the
// program itself), `nothingOpened` is called then, on the window's thread.
bool openOnDesktop(const QUrl& url, const std::function<void()>& nothingOpened);

}  // namespace qrv::gui
