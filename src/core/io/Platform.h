#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What differs between operating systems, kept in one place so another platform replaces only this.
namespace qrv::platform {

// The characters after which a path's file name starts: "/"; on Windows also "\\" and a drive's ":".
#ifdef _WIN32
inline constexpr std::string_view kFolderSeparators = "/\\:";
#else
inline constexpr std::string_view kFolderSeparators = "/";
#endif

// Characters a file name cannot hold besides "/" and control characters. On Windows a ":" would even
// write into a hidden stream of another file.
#ifdef _WIN32
inline constexpr std::string_view kNotInFileNames = "<>:\"|?*";
#else
inline constexpr std::string_view kNotInFileNames = "";
#endif

// What the archive library appends to an archive's name for the file it writes before renaming it over
// the archive: ".XXXXXX" on POSIX, ".%08x" on Windows. Work file names leave room for it.
#ifdef _WIN32
inline constexpr size_t kArchiveTempSuffixBytes = 9;
#else
inline constexpr size_t kArchiveTempSuffixBytes = 7;
#endif

struct CreatedTemp {
    std::filesystem::path path;
    int fd = -1;
};

// Creates a new file with a unique name "<folder>/<stem>XXXXXX" that never replaces an existing file.
CreatedTemp createUniqueFile(const std::filesystem::path& folder, const std::string& stem);

// Test seam: when set, called before every write of writeAll and writeAllAt with the file's name; a
// non-zero errno it returns fails that write as the system would (ENOSPC for a full disk). Only tests set
// it; the default is the real write.
using WriteFault = int (*)(const std::string& what);
void setWriteFaultForTests(WriteFault fault) noexcept;

// Opens an existing file for reading; binary, not inherited by child processes, and (Windows) shared so
// that another program may read, replace or delete it meanwhile. Returns -1 with errno set on failure.
// (Outputs are opened with openOutput below.)
int openForReading(const std::filesystem::path& path);
bool isTerminal(int fd);

// Writes every byte or throws; `what` names the file in the message.
void writeAll(int fd, const char* data, size_t size, const std::string& what);
// Writes every byte at `offset` without moving the file position.
void writeAllAt(int fd, std::uint64_t offset, const char* data, size_t size, const std::string& what);
// Reads at most `size` bytes from `offset` on without moving the file position, so that threads may read
// parts of one open file at once; returns how many were read (0 at the end of the file). Throws naming
// `what` on failure.
size_t readAt(int fd, std::uint64_t offset, char* data, size_t size, const std::string& what);
// Hands the file's bytes to `each` in blocks of at most `blockSize`; throws naming the file on failure.
void readBlocks(const std::filesystem::path& path, size_t blockSize,
                const std::function<void(std::string_view)>& each);
void syncFile(int fd, const std::string& what);
// Asks the system to start writing the range to disk now, without waiting for it: the final syncFile
// then waits only for what is left. A hint: where it is not available or fails, nothing happens.
void startWriteback(int fd, std::uint64_t offset, std::uint64_t length) noexcept;
void closeFile(int fd);

// Opens a file for writing without following a symbolic link: Create replaces a link by a new file
// (the file it pointed to stays as it was) and empties a regular file; append opens an existing regular
// file. Anything else that exists under the name (folder, FIFO, device, socket) is refused.
int openOutput(const std::filesystem::path& path, bool append);
// Throws when `target` exists and is neither a regular file nor a symbolic link (which an output
// replaces): an output never turns a FIFO, a device or a folder into a regular file.
void refuseSpecialFile(const std::filesystem::path& target);
// Gives a file the permissions a newly created file gets under the process's umask (0666 less it).
void setCreatedFileMode(const std::filesystem::path& path);
void setCreatedFileMode(int fd, const std::string& what);
// Why files cannot be made in `folder` (the system's text), or "" when they can.
std::string whyFolderIsNotWritable(const std::filesystem::path& folder);
// True while a process of this id exists.
bool processExists(long pid) noexcept;
long currentProcessId() noexcept;
// True for a regular file (not a link) that belongs to this process's user.
bool isOwnRegularFile(const std::filesystem::path& path) noexcept;

// What `path` names, as std::filesystem's status (followLinks) or symlink_status gives it, on Windows also
// for a path past the classic 260-character limit.
std::filesystem::file_status fileStatus(const std::filesystem::path& path, bool followLinks);

// `path` for a C library that takes narrow file names (the archive library): the path's own text on POSIX;
// on Windows UTF-8, in the "\\?\" form when the path is too long for the classic limit.
std::string libraryFileName(const std::filesystem::path& path);

// Which file a name holds and how it stood: its identity (device and file number), size and time of
// last change. Two stamps that are equal name the same file, unchanged in size and time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the system's epoch
    bool operator==(const FileStamp&) const = default;
};
// The stamp of what `path` names itself (a link is not followed); nothing when nothing is there.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);
// The stamp of an open file; throws naming `what` when the system cannot tell.
FileStamp fileStampOf(int fd, const std::string& what);

// Exclusive locks on folders for as long as the object lives, so that two processes putting their outputs
// into one folder take turns; a lock goes with its process however that ends. The folders are locked in one
// order, that of their identity, so that two processes locking the same folders never wait on each other in
// a circle. A folder the system cannot lock (a file system without locks, a folder that cannot be opened)
// is passed over. Another holder is waited for up to `wait`; then InUseError names the folder.
class FolderLocks {
  public:
    FolderLocks(const std::vector<std::filesystem::path>& folders, std::chrono::milliseconds wait);
    ~FolderLocks();
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

  private:
    void release() noexcept;
    std::vector<std::intptr_t> held_;  // descriptors of the folders (POSIX), mutexes (Windows)
};

// Test seam: when set, called each time a folder's lock is found held by another, before waiting for it.
// Only tests set it; the default is nothing.
using FolderLockWait = void (*)(const std::filesystem::path& folder);
void setFolderLockWaitForTests(FolderLockWait wait) noexcept;

// Replaces `target` by `from` in one step (same folder).
void replaceFile(const std::filesystem::path& from, const std::filesystem::path& target);

// Removes a file, ignoring a missing one; never throws.
void removeQuietly(const std::filesystem::path& path) noexcept;

std::filesystem::path executableFolder();
// The per-user application data folder ($XDG_DATA_HOME or ~/.local/share; %APPDATA% on Windows).
std::filesystem::path userDataHome();

// From here on a write past the process's file-size limit (ulimit -f) fails with an error, as a full disk
// does, instead of ending the process at once (SIGXFSZ) with no word and its work files left. Windows has no
// such limit: nothing to do.
void failWritesPastTheFileSizeLimit() noexcept;

// Local time, in the system's time zone.
std::tm localTime(std::time_t t);

// The name the user logged in to this computer with (UTF-8); empty when the system cannot tell.
std::string userName();

// The command line's arguments as UTF-8 (on Windows read again in UTF-16: argv holds the ANSI code page).
std::vector<std::string> utf8Arguments(int argc, char** argv);

// While it lives, the console shows UTF-8 output (Windows: the console's output code page; elsewhere
// nothing to do).
class Utf8Console {
  public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

  private:
    [[maybe_unused]] unsigned previous_ = 0;  // the console's code page before (Windows only)
};

// Text of the last system error, for messages.
std::string lastErrorText();

}  // namespace qrv::platform
