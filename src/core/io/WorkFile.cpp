#include "io/WorkFile.h"

#include <exception>
#include <future>
#include <regex>

#include "io/Platform.h"
#include "io/WorkFileRegistry.h"

namespace qrv {

namespace {

// A file name holds at most 255 bytes (on Windows 255 UTF-16 units, never more than its bytes); the archive
// library appends its suffix to the name of the file it writes, so work file names stop short of that by
// the suffix and a byte.
constexpr size_t kNameBytes = 254 - platform::kArchiveTempSuffixBytes;
// How much of an output may wait in memory before it starts going to disk.
constexpr std::uint64_t kWritebackEvery = std::uint64_t{8} << 20;

std::string markOf(long pid) {
    return ".qrv" + std::to_string(pid) + "-";
}

// `stem` cut to `bytes`, never inside a UTF-8 sequence.
std::string shortened(const std::string& stem, size_t bytes) {
    if (stem.size() <= bytes) {
        return stem;
    }
    size_t cut = bytes;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return stem.substr(0, cut);
}

}  // namespace

void RemoveStaleWorkFiles(const std::filesystem::path& folder) noexcept {
    // ".<name>.qrv<pid>-XXXXXX", and the archive library's suffix after it.
    static const std::regex kOurs(R"(\..*\.qrv([0-9]{1,10})-[A-Za-z0-9]{6}(\.[A-Za-z0-9]{)" +
                                  std::to_string(platform::kArchiveTempSuffixBytes - 1) + "})?");
    RemoveFilesOfGoneProcesses(folder.empty() ? std::filesystem::path(".") : folder, ".", kOurs);
}

void RemoveFilesOfGoneProcesses(const std::filesystem::path& folder, std::string_view prefix,
                                const std::regex& names) noexcept {
    try {
        const long self = platform::currentProcessId();
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            std::smatch m;
            if (!name.starts_with(prefix) || !std::regex_match(name, m, names)) {
                continue;
            }
            const long pid = std::stol(m[1].str());
            if (pid == self || platform::processExists(pid) || !platform::isOwnRegularFile(entry.path())) {
                continue;
            }
            platform::removeQuietly(entry.path());
        }
    } catch (...) {
        // Clearing up after an earlier run never stops this one.
    }
}

WorkFile::WorkFile(const std::filesystem::path& folder, const std::string& stem) {
    RemoveStaleWorkFiles(folder);
    const std::string mark = markOf(platform::currentProcessId());
    const platform::CreatedTemp created =
        platform::createUniqueFile(folder, shortened(stem, kNameBytes - mark.size() - 6) + mark);
    path_ = created.path;
    workfiles::add(path_);
    writer_ = std::make_unique<FileWriter>(created.fd, path_.string());
}

WorkFile::WorkFile(WorkFile&& other) noexcept
    : path_(std::move(other.path_)), writer_(std::move(other.writer_)) {
    other.path_.clear();
}

WorkFile& WorkFile::operator=(WorkFile&& other) noexcept {
    if (this != &other) {
        discard();
        path_ = std::move(other.path_);
        writer_ = std::move(other.writer_);
        other.path_.clear();
    }
    return *this;
}

WorkFile::~WorkFile() {
    discard();
}

void WorkFile::discard() noexcept {
    writer_.reset();
    if (!path_.empty()) {
        platform::removeQuietly(path_);
        workfiles::remove(path_);
    }
}

std::filesystem::path WorkFile::release() {
    std::filesystem::path p = std::move(path_);
    path_.clear();
    workfiles::remove(p);
    return p;
}

WorkFile workFileFor(const std::filesystem::path& destination, const std::string& suffix) {
    return WorkFile(destination.parent_path(), "." + destination.filename().string() + suffix);
}

WorkFile AtomicFile::checkedWorkFile(const std::filesystem::path& target) {
    platform::refuseSpecialFile(target);
    return workFileFor(target, "");
}

AtomicFile::AtomicFile(const std::filesystem::path& target)
    : target_(target), work_(checkedWorkFile(target)) {
    // The file is kept: its bytes go to disk as it grows rather than all at its end.
    work_.writer().writeBackEvery(kWritebackEvery);
}

AtomicFile::AtomicFile(const std::filesystem::path& target, WorkFile written)
    : target_(target), work_(std::move(written)) {
    platform::refuseSpecialFile(target_);
}

void AtomicFile::finish() {
    if (finished_) {
        return;
    }
    // A new file gets the permissions an ordinary created file would (mkstemp gives 0600).
    if (work_.writer().fd() >= 0) {
        work_.writer().sync();
        platform::setCreatedFileMode(work_.writer().fd(), work_.path().string());
        work_.close();
    } else {
        platform::setCreatedFileMode(work_.path());
    }
    finished_ = true;
}

void AtomicFile::finishWhile(const std::function<void()>& meanwhile) {
    if (finished_ || work_.writer().fd() < 0) {
        finish();
        meanwhile();
        return;
    }
    FileWriter& writer = work_.writer();
    writer.flush();
    // The permissions first: what runs meanwhile may read them.
    platform::setCreatedFileMode(writer.fd(), work_.path().string());
    std::future<void> synced = std::async(std::launch::async, [&writer] { writer.sync(); });
    std::exception_ptr failed;
    try {
        meanwhile();
    } catch (...) {
        failed = std::current_exception();
    }
    synced.get();
    if (failed) {
        std::rethrow_exception(failed);
    }
    work_.close();
    finished_ = true;
}

void AtomicFile::commit() {
    finish();
    platform::refuseSpecialFile(target_);
    platform::replaceFile(work_.path(), target_);
    work_.release();
    committed_ = true;
}

}  // namespace qrv
