#include "upload/ZipOutputs.h"

#include <zip.h>

#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/WorkFile.h"

namespace qrv {

namespace {

bool isAscii(const std::string& s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string zipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

// Refuses an existing file that libzip cannot read as an archive (a link is replaced, not read).
void checkExistingArchive(const std::filesystem::path& archive) {
    if (!std::filesystem::is_regular_file(platform::fileStatus(archive, false))) {
        return;
    }
    int code = 0;
    zip_t* z = zip_open(platform::libraryFileName(archive).c_str(), ZIP_RDONLY, &code);
    if (z == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        throw QrvError("Cannot update archive \"" + archive.string() + "\": " + zipErrorText(&error));
    }
    zip_discard(z);
}

}  // namespace

std::optional<AtomicFile> PackArchive(const std::filesystem::path& archive,
                                      const std::filesystem::path& uploadFile, const std::string& entry) {
    if (!std::filesystem::is_regular_file(platform::fileStatus(uploadFile, true))) {
        return std::nullopt;
    }
    platform::refuseSpecialFile(archive);
    checkExistingArchive(archive);

    // The new archive is built in a work file beside the target; libzip writes it on close.
    WorkFile work = workFileFor(archive, "");
    work.close();
    int code = 0;
    zip_t* z = zip_open(platform::libraryFileName(work.path()).c_str(), ZIP_TRUNCATE, &code);
    if (z == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        throw QrvError("Cannot create archive \"" + archive.string() + "\": " + zipErrorText(&error));
    }
    const auto fail = [&z, &archive](const std::string& what) {
        const std::string text = zip_strerror(z);
        zip_discard(z);
        throw QrvError(what + " archive \"" + archive.string() + "\": " + text);
    };
    zip_source_t* source = zip_source_file(z, platform::libraryFileName(uploadFile).c_str(), 0, -1);
    if (source == nullptr) {
        fail("Cannot read \"" + uploadFile.string() + "\" for");
    }
    const zip_flags_t nameFlags = isAscii(entry) ? ZIP_FL_ENC_GUESS : ZIP_FL_ENC_UTF_8;
    const zip_int64_t index = zip_file_add(z, entry.c_str(), source, nameFlags | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        fail("Cannot add the upload file to");
    }
    if (zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1) != 0) {
        fail("Cannot set the compression of");
    }
    if (zip_close(z) != 0) {
        fail("Cannot write");
    }
    // The archive library writes a private file (0600): finishing it gives it the umask's permissions.
    return AtomicFile(archive, std::move(work));
}

}  // namespace qrv
