#include "io/Platform.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "base/QrvError.h"

namespace qrv::platform {

CreatedTemp createUniqueFile(const std::filesystem::path& folder, const std::string& stem) {
    const std::filesystem::path base = folder.empty() ? std::filesystem::path(".") : folder;
    std::string pattern = (base / (stem + "XXXXXX")).string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    const int fd = mkostemp(buf.data(), O_CLOEXEC);
    if (fd < 0) {
        throw QrvError("Cannot create a work file in folder \"" + base.string() + "\": " + lastErrorText());
    }
    return {std::filesystem::path(buf.data()), fd};
}

namespace {

WriteFault g_writeFault = nullptr;

// The system's write, unless a test injected a failure.
ssize_t writeSome(int fd, const char* data, size_t size, const off_t* offset, const std::string& what) {
    if (g_writeFault != nullptr) {
        if (const int error = g_writeFault(what); error != 0) {
            errno = error;
            return -1;
        }
    }
    return offset != nullptr ? ::pwrite(fd, data, size, *offset) : ::write(fd, data, size);
}

}  // namespace

void setWriteFaultForTests(WriteFault fault) noexcept {
    g_writeFault = fault;
}

namespace {

// Writes all of `data`, at `offset` when given (the file position untouched), else at the file position;
// a call interrupted by a signal is made again.
void writeEvery(int fd, const char* data, size_t size, std::optional<std::uint64_t> offset,
                const std::string& what) {
    while (size > 0) {
        const off_t at = offset ? static_cast<off_t>(*offset) : 0;
        const ssize_t n = writeSome(fd, data, size, offset ? &at : nullptr, what);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw QrvError("Cannot write file \"" + what + "\": " + lastErrorText());
        }
        data += n;
        size -= static_cast<size_t>(n);
        if (offset) {
            *offset += static_cast<std::uint64_t>(n);
        }
    }
}

}  // namespace

void writeAll(int fd, const char* data, size_t size, const std::string& what) {
    writeEvery(fd, data, size, std::nullopt, what);
}

void writeAllAt(int fd, std::uint64_t offset, const char* data, size_t size, const std::string& what) {
    writeEvery(fd, data, size, offset, what);
}

size_t readAt(int fd, std::uint64_t offset, char* data, size_t size, const std::string& what) {
    for (;;) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n >= 0) {
            return static_cast<size_t>(n);
        }
        if (errno != EINTR) {
            throw QrvError("Cannot read file \"" + what + "\": " + lastErrorText());
        }
    }
}

void readBlocks(const std::filesystem::path& path, size_t blockSize,
                const std::function<void(std::string_view)>& each) {
    const int fd = openForReading(path);
    if (fd < 0) {
        throw QrvError("Cannot open file \"" + path.string() + "\" for reading: " + lastErrorText());
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    std::vector<char> block(blockSize);
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), block.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw QrvError("Cannot read file \"" + path.string() + "\": " + lastErrorText());
        }
        if (n == 0) {
            return;
        }
        each(std::string_view(block.data(), static_cast<size_t>(n)));
    }
}

int openForReading(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

bool isTerminal(int fd) {
    return ::isatty(fd) == 1;
}

void syncFile(int fd, const std::string& what) {
    if (::fdatasync(fd) != 0 && errno != EINVAL) {
        throw QrvError("Cannot write file \"" + what + "\" to disk: " + lastErrorText());
    }
}

void startWriteback(int fd, std::uint64_t offset, std::uint64_t length) noexcept {
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

void closeFile(int fd) {
    if (fd >= 0) {
        ::close(fd);
    }
}

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

[[noreturn]] void refuse(const std::filesystem::path& path, mode_t mode) {
    throw QrvError("Cannot write file \"" + path.string() + "\": it exists and is " + kindOf(mode) +
                   ", not a regular file; choose another name");
}

mode_t processUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void refuseSpecialFile(const std::filesystem::path& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
        refuse(target, st.st_mode);
    }
}

int openOutput(const std::filesystem::path& path, bool append) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode) && !append) {
            // The link itself is replaced, never the file it names.
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
                throw QrvError("Cannot replace the link \"" + path.string() + "\": " + lastErrorText());
            }
        } else if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
            refuse(path, st.st_mode);
        }
    }
    // O_NOFOLLOW: a link made after the check fails the open instead of being followed; O_NONBLOCK: a
    // FIFO made after the check does not block the run (it is refused below).
    const int flags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (append ? O_APPEND : O_CREAT);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        const std::string why = errno == ELOOP ? "it is a symbolic link" : lastErrorText();
        throw QrvError("Cannot open file \"" + path.string() + "\" for writing: " + why);
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        refuse(path, st.st_mode);
    }
    if ((!append && ::ftruncate(fd, 0) != 0) || ::fcntl(fd, F_SETFL, append ? O_APPEND : 0) != 0) {
        const std::string why = lastErrorText();
        ::close(fd);
        throw QrvError("Cannot open file \"" + path.string() + "\" for writing: " + why);
    }
    return fd;
}

void setCreatedFileMode(const std::filesystem::path& path) {
    if (::chmod(path.c_str(), 0666 & ~processUmask()) != 0) {
        throw QrvError("Cannot set the permissions of file \"" + path.string() + "\": " + lastErrorText());
    }
}

void setCreatedFileMode(int fd, const std::string& what) {
    if (::fchmod(fd, 0666 & ~processUmask()) != 0) {
        throw QrvError("Cannot set the permissions of file \"" + what + "\": " + lastErrorText());
    }
}

std::string whyFolderIsNotWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? std::string() : lastErrorText();
}

bool processExists(long pid) noexcept {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

long currentProcessId() noexcept {
    return static_cast<long>(::getpid());
}

bool isOwnRegularFile(const std::filesystem::path& path) noexcept {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

namespace {

FileStamp stampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return stampOf(st);
}

FileStamp fileStampOf(int fd, const std::string& what) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        throw QrvError("Cannot read the size and time of file \"" + what + "\": " + lastErrorText());
    }
    return stampOf(st);
}

namespace {

FolderLockWait g_folderLockWait = nullptr;

// A folder opened to be locked, with its identity.
struct LockedFolder {
    std::filesystem::path name;
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
};

// Each folder opened once (two names of one folder are one), in the order of their identity.
std::vector<LockedFolder> openFolders(const std::vector<std::filesystem::path>& folders) {
    std::vector<LockedFolder> opened;
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
        const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0 ||
            std::any_of(opened.begin(), opened.end(), [&st](const LockedFolder& f) {
                return f.device == st.st_dev && f.inode == st.st_ino;
            })) {
            if (fd >= 0) {
                ::close(fd);
            }
            continue;
        }
        opened.push_back({name, fd, st.st_dev, st.st_ino});
    }
    std::sort(opened.begin(), opened.end(), [](const LockedFolder& a, const LockedFolder& b) {
        return std::pair(a.device, a.inode) < std::pair(b.device, b.inode);
    });
    return opened;
}

// Takes the folder's lock, waiting until `deadline`; false when the file system cannot lock it.
bool lockFolder(const LockedFolder& folder, std::chrono::steady_clock::time_point deadline,
                std::chrono::milliseconds wait) {
    bool told = false;
    while (::flock(folder.fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return false;
        }
        if (!told && g_folderLockWait != nullptr) {
            g_folderLockWait(folder.name);
        }
        told = true;
        if (std::chrono::steady_clock::now() >= deadline) {
            throw InUseError("Another run is putting its outputs into the folder \"" + folder.name.string() +
                             "\" (waited " + std::to_string(wait.count() / 1000) +
                             " s). Nothing of this run was put in place. Try again when it ends");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

void setFolderLockWaitForTests(FolderLockWait wait) noexcept {
    g_folderLockWait = wait;
}

FolderLocks::FolderLocks(const std::vector<std::filesystem::path>& folders, std::chrono::milliseconds wait) {
    std::vector<LockedFolder> opened = openFolders(folders);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    try {
        for (LockedFolder& folder : opened) {
            if (lockFolder(folder, deadline, wait)) {
                held_.push_back(std::exchange(folder.fd, -1));
            }
        }
    } catch (...) {
        for (const LockedFolder& folder : opened) {
            if (folder.fd >= 0) {
                ::close(folder.fd);
            }
        }
        release();
        throw;
    }
    for (const LockedFolder& folder : opened) {
        if (folder.fd >= 0) {
            ::close(folder.fd);  // not lockable: passed over
        }
    }
}

FolderLocks::~FolderLocks() {
    release();
}

void FolderLocks::release() noexcept {
    // Closing a descriptor releases its lock.
    for (const std::intptr_t fd : held_) {
        ::close(static_cast<int>(fd));
    }
    held_.clear();
}

void replaceFile(const std::filesystem::path& from, const std::filesystem::path& target) {
    if (std::rename(from.c_str(), target.c_str()) != 0) {
        throw QrvError("Cannot replace file \"" + target.string() + "\": " + lastErrorText());
    }
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

std::filesystem::file_status fileStatus(const std::filesystem::path& path, bool followLinks) {
    std::error_code ec;
    return followLinks ? std::filesystem::status(path, ec) : std::filesystem::symlink_status(path, ec);
}

std::string libraryFileName(const std::filesystem::path& path) {
    return path.string();
}

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return std::filesystem::current_path();
    }
    return exe.parent_path();
}

std::filesystem::path userDataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share";
}

std::tm localTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string userName() {
    // The account's own name first: the environment's names can be set to anything.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr) {
        return found->pw_name;
    }
    for (const char* name : {"LOGNAME", "USER"}) {
        if (const char* value = std::getenv(name); value != nullptr) {
            return value;
        }
    }
    return {};
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

void failWritesPastTheFileSizeLimit() noexcept {
    ::signal(SIGXFSZ, SIG_IGN);
}

std::string lastErrorText() {
    if (errno == EFBIG) {
        return std::string(std::strerror(errno)) + " (past the file-size limit of this process, ulimit -f)";
    }
    return std::strerror(errno);
}

}  // namespace qrv::platform
