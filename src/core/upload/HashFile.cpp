#include "upload/HashFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Events.h"
#include "base/QrvError.h"
#include "io/Platform.h"

namespace qrv {

std::optional<Digest> HashFile(const std::filesystem::path& file, Events& ui,
                               const std::function<void(std::string_view)>& eachBlock) {
    const int fd = platform::openForReading(file);
    struct Closer {
        int fd;
        ~Closer() { platform::closeFile(fd); }
    } closer{fd};
    // A folder opens for reading here but is no file to hash.
    struct stat st {};
    if (fd < 0 || (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))) {
        ui.showMessage(MessageKind::Information, "Unable to open source file.");
        return std::nullopt;
    }
    Sha1 sha;
    char block[8192];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw QrvError("Cannot read file \"" + file.string() + "\": " + platform::lastErrorText());
        }
        if (n == 0) {
            break;
        }
        const std::string_view bytes(block, static_cast<size_t>(n));
        sha.update(bytes);
        if (eachBlock) {
            eachBlock(bytes);
        }
    }
    return sha.finish();
}

}  // namespace qrv
