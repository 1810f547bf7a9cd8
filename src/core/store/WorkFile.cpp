#include "store/WorkFile.h"

#include "store/Platform.h"

namespace qrv {

WorkFile::WorkFile(const std::filesystem::path& folder, const std::string& stem) {
    const platform::CreatedTemp created = platform::createUniqueFile(folder, stem);
    path_ = created.path;
    writer_ = std::make_unique<FileWriter>(created.fd, path_.string());
}

WorkFile::WorkFile(WorkFile&& other) noexcept
    : path_(std::move(other.path_)), writer_(std::move(other.writer_)) {
    other.path_.clear();
}

WorkFile& WorkFile::operator=(WorkFile&& other) noexcept {
    if (this != &other) {
        writer_.reset();
        if (!path_.empty()) {
            platform::removeQuietly(path_);
        }
        path_ = std::move(other.path_);
        writer_ = std::move(other.writer_);
        other.path_.clear();
    }
    return *this;
}

WorkFile::~WorkFile() {
    writer_.reset();
    if (!path_.empty()) {
        platform::removeQuietly(path_);
    }
}

std::filesystem::path WorkFile::release() {
    std::filesystem::path p = std::move(path_);
    path_.clear();
    return p;
}

WorkFile workFileFor(const std::filesystem::path& destination, const std::string& suffix) {
    return WorkFile(destination.parent_path(), "." + destination.filename().string() + suffix + ".");
}

AtomicFile::AtomicFile(const std::filesystem::path& target)
    : target_(target), work_(workFileFor(target, "")) {}

void AtomicFile::commit() {
    work_.writer().sync();
    platform::setOrdinaryPermissions(work_.writer().fd());
    work_.close();
    platform::replaceFile(work_.path(), target_);
    work_.release();
    committed_ = true;
}

}  // namespace qrv
