// The platform layer on Windows (chosen by CMake instead of Platform.cpp). File names are UTF-16 through
// the wide API; descriptors are the C runtime's, opened in binary mode over handles that share read, write
// and delete, so that a file this program holds never stops another program, nor its own replacement.
// windows.h first: the others need its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "base/QrvError.h"
#include "io/Platform.h"

namespace qrv::platform {

namespace {

WriteFault g_writeFault = nullptr;

// The errno of a Win32 error, so that lastErrorText() words it as the C library does on Linux.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return EISDIR;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:
            return EIO;
    }
}

// A path whose full form has at least this many characters goes to the system in the "\\?\" form, which
// lifts the classic limit of 260 (MAX_PATH less the 12 characters a folder's path leaves for a file name).
constexpr DWORD kClassicPathLimit = MAX_PATH - 12;
constexpr std::wstring_view kLongPrefix = L"\\\\?\\";

// The name the wide API gets for `path`: the path as it is when it is short; else its full path in the
// "\\?\" form ("\\?\UNC\server\share\..." for a share), which the API takes up to 32,767 characters.
std::wstring systemName(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.rfind(kLongPrefix, 0) == 0) {
        return text;
    }
    const DWORD size = ::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);  // with the NUL; 0: failed
    if (size <= kClassicPathLimit) {
        return text;
    }
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(text.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return text;
    }
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) {
        // A device name ("\\.\") has no long form.
        return full.rfind(L"\\\\.\\", 0) == 0 ? text : L"\\\\?\\UNC\\" + full.substr(2);
    }
    return std::wstring(kLongPrefix) + full;
}

bool isLongForm(const std::wstring& name) {
    return name.rfind(kLongPrefix, 0) == 0;
}

// Removes a file or an empty folder (std::filesystem's C runtime calls keep the classic limit).
bool removeEntry(const std::filesystem::path& path, std::error_code& ec) {
    const std::wstring name = systemName(path);
    if (!isLongForm(name)) {
        return std::filesystem::remove(path, ec);
    }
    if (::DeleteFileW(name.c_str()) != 0 || ::RemoveDirectoryW(name.c_str()) != 0) {
        return true;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return false;
    }
    ec.assign(static_cast<int>(error), std::system_category());
    return false;
}

// A C runtime descriptor over a handle opened with every sharing mode; -1 with errno set on failure.
int openShared(const std::filesystem::path& path, DWORD access, DWORD disposition, int crtFlags) {
    HANDLE h = ::CreateFileW(systemName(path).c_str(), access,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoOf(::GetLastError());
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), crtFlags | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        ::CloseHandle(h);
        errno = EMFILE;
    }
    return fd;
}

int writeSome(int fd, const char* data, size_t size, const std::string& what) {
    if (g_writeFault != nullptr) {
        if (const int error = g_writeFault(what); error != 0) {
            errno = error;
            return -1;
        }
    }
    constexpr size_t kMaxChunk = 1u << 30;
    return ::_write(fd, data, static_cast<unsigned>(size < kMaxChunk ? size : kMaxChunk));
}

std::string utf8(const wchar_t* text, int length) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    }
    return out;
}

}  // namespace

CreatedTemp createUniqueFile(const std::filesystem::path& folder, const std::string& stem) {
    const std::filesystem::path base = folder.empty() ? std::filesystem::path(".") : folder;
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem;
        for (int i = 0; i < 6; ++i) {
            name += kLetters[pick(random)];
        }
        const std::filesystem::path path = base / name;
        // CREATE_NEW: an existing file of that name is never touched.
        const int fd = openShared(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, _O_RDWR);
        if (fd >= 0) {
            return {path, fd};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    throw QrvError("Cannot create a work file in folder \"" + base.string() + "\": " + lastErrorText());
}

void setWriteFaultForTests(WriteFault fault) noexcept {
    g_writeFault = fault;
}

int openForReading(const std::filesystem::path& path) {
    if (std::filesystem::is_directory(fileStatus(path, true))) {
        errno = EISDIR;
        return -1;
    }
    return openShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY);
}

bool isTerminal(int fd) {
    return ::_isatty(fd) != 0;
}

void writeAll(int fd, const char* data, size_t size, const std::string& what) {
    while (size > 0) {
        const int n = writeSome(fd, data, size, what);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw QrvError("Cannot write file \"" + what + "\": " + lastErrorText());
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void writeAllAt(int fd, std::uint64_t offset, const char* data, size_t size, const std::string& what) {
    const __int64 position = ::_lseeki64(fd, 0, SEEK_CUR);
    if (position < 0 || ::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) {
        throw QrvError("Cannot write file \"" + what + "\": " + lastErrorText());
    }
    writeAll(fd, data, size, what);
    if (::_lseeki64(fd, position, SEEK_SET) < 0) {
        throw QrvError("Cannot write file \"" + what + "\": " + lastErrorText());
    }
}

size_t readAt(int fd, std::uint64_t offset, char* data, size_t size, const std::string& what) {
    // A positioned read of the file's handle; the C library's position of `fd` is not used by its reader.
    const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    const DWORD ask = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (h == INVALID_HANDLE_VALUE || ::ReadFile(h, data, ask, &n, &at) == 0) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF) {
            return 0;
        }
        errno = errnoOf(error);
        throw QrvError("Cannot read file \"" + what + "\": " + lastErrorText());
    }
    return n;
}

void readBlocks(const std::filesystem::path& path, size_t blockSize,
                const std::function<void(std::string_view)>& each) {
    const int fd = openForReading(path);
    if (fd < 0) {
        throw QrvError("Cannot open file \"" + path.string() + "\" for reading: " + lastErrorText());
    }
    struct Closer {
        int fd;
        ~Closer() { ::_close(fd); }
    } closer{fd};
    std::vector<char> block(blockSize);
    for (;;) {
        const int n = ::_read(fd, block.data(), static_cast<unsigned>(block.size()));
        if (n < 0) {
            throw QrvError("Cannot read file \"" + path.string() + "\": " + lastErrorText());
        }
        if (n == 0) {
            return;
        }
        each(std::string_view(block.data(), static_cast<size_t>(n)));
    }
}

namespace {

// What an existing name is when it is neither a regular file nor a link (for the message).
const char* kindOf(const std::filesystem::file_status& status) {
    switch (status.type()) {
        case std::filesystem::file_type::directory:
            return "a folder";
        case std::filesystem::file_type::fifo:
            return "a FIFO";
        case std::filesystem::file_type::character:
        case std::filesystem::file_type::block:
            return "a device";
        case std::filesystem::file_type::socket:
            return "a socket";
        default:
            return "not a regular file";
    }
}

[[noreturn]] void refuse(const std::filesystem::path& path, const char* kind) {
    throw QrvError("Cannot write file \"" + path.string() + "\": it exists and is " + kind +
                   ", not a regular file; choose another name");
}

bool isOrdinary(const std::filesystem::file_status& status) {
    return status.type() == std::filesystem::file_type::regular ||
           status.type() == std::filesystem::file_type::symlink;
}

}  // namespace

void refuseSpecialFile(const std::filesystem::path& target) {
    const auto status = fileStatus(target, false);
    if (std::filesystem::exists(status) && !isOrdinary(status)) {
        refuse(target, kindOf(status));
    }
}

int openOutput(const std::filesystem::path& path, bool append) {
    const auto status = fileStatus(path, false);
    if (std::filesystem::exists(status)) {
        if (std::filesystem::is_symlink(status) && !append) {
            // The link itself is replaced, never the file it names.
            if (std::error_code ec; !removeEntry(path, ec) && ec) {
                throw QrvError("Cannot replace the link \"" + path.string() + "\": " + ec.message());
            }
        } else if (!isOrdinary(status)) {
            refuse(path, kindOf(status));
        }
    }
    // FILE_FLAG_OPEN_REPARSE_POINT: a link made after the check is opened itself, never followed, and
    // refused below; the file is emptied only once it is known to be a regular file.
    HANDLE h = ::CreateFileW(systemName(path).c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             append ? OPEN_EXISTING : OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoOf(::GetLastError());
        throw QrvError("Cannot open file \"" + path.string() + "\" for writing: " + lastErrorText());
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(h, &info) == 0 ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        ::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        refuse(path,
               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? "a link" : "not a regular file");
    }
    LARGE_INTEGER zero{};
    if (append ? ::SetFilePointerEx(h, zero, nullptr, FILE_END) == 0 : ::SetEndOfFile(h) == 0) {
        errno = errnoOf(::GetLastError());
        const std::string why = lastErrorText();
        ::CloseHandle(h);
        throw QrvError("Cannot open file \"" + path.string() + "\" for writing: " + why);
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h),
                                     _O_WRONLY | _O_BINARY | _O_NOINHERIT | (append ? _O_APPEND : 0));
    if (fd < 0) {
        ::CloseHandle(h);
        errno = EMFILE;
        throw QrvError("Cannot open file \"" + path.string() + "\" for writing: " + lastErrorText());
    }
    return fd;
}

// A new file inherits its folder's access rights: nothing to set (there is no umask).
void setCreatedFileMode(const std::filesystem::path&) {}
void setCreatedFileMode(int, const std::string&) {}

std::string whyFolderIsNotWritable(const std::filesystem::path& folder) {
    // Access rights on Windows are lists, not bits: make a file there and remove it.
    try {
        const CreatedTemp probe = createUniqueFile(folder, ".write-test.");
        closeFile(probe.fd);
        removeQuietly(probe.path);
        return {};
    } catch (const QrvError&) {
        return lastErrorText();
    }
}

bool processExists(long pid) noexcept {
    if (pid <= 0) {
        return false;
    }
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (h == nullptr) {
        // Another user's process may be there without our being allowed to look.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(h, &code) != 0 && code == STILL_ACTIVE;
    ::CloseHandle(h);
    return running;
}

long currentProcessId() noexcept {
    return static_cast<long>(::GetCurrentProcessId());
}

bool isOwnRegularFile(const std::filesystem::path& path) noexcept {
    // A work file in a folder the user writes: a regular file, not a link (ownership is the folder's).
    try {
        return fileStatus(path, false).type() == std::filesystem::file_type::regular;
    } catch (...) {
        return false;
    }
}

void syncFile(int fd, const std::string& what) {
    if (::_commit(fd) != 0) {
        throw QrvError("Cannot write file \"" + what + "\" to disk: " + lastErrorText());
    }
}

void startWriteback(int, std::uint64_t, std::uint64_t) noexcept {}

void closeFile(int fd) {
    if (fd >= 0) {
        ::_close(fd);
    }
}

namespace {

// FILE_INFO_BY_HANDLE_CLASS's FileRenameInfoEx, which MinGW's headers declare only for a later target.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

// Renames with POSIX semantics (Windows 10 1809 and later, NTFS): the target may be open in a program that
// shares delete access, as this program's own readers do, and its readers keep the old content.
bool renameReplacingOpenTarget(const std::filesystem::path& from, const std::filesystem::path& target) {
    HANDLE h = ::CreateFileW(systemName(from).c_str(), DELETE | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::error_code ec;
    std::wstring name = systemName(target);
    if (!isLongForm(name)) {
        name = std::filesystem::absolute(target, ec).wstring();
    }
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.data(), name.size() * sizeof(wchar_t));
    const bool renamed = !ec && ::SetFileInformationByHandle(h, kFileRenameInfoEx, info,
                                                             static_cast<DWORD>(buffer.size())) != 0;
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    ::SetLastError(error);
    return renamed;
}

}  // namespace

namespace {

FileStamp stampOf(const BY_HANDLE_FILE_INFORMATION& info) {
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
    };
    // FILETIME counts 100-nanosecond steps.
    const std::uint64_t written =
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
            join(info.nFileSizeHigh, info.nFileSizeLow), static_cast<std::int64_t>(written * 100)};
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    HANDLE h = ::CreateFileW(systemName(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!known) {
        return std::nullopt;
    }
    return stampOf(info);
}

FileStamp fileStampOf(int fd, const std::string& what) {
    BY_HANDLE_FILE_INFORMATION info{};
    const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (h == INVALID_HANDLE_VALUE || ::GetFileInformationByHandle(h, &info) == 0) {
        errno = errnoOf(::GetLastError());
        throw QrvError("Cannot read the size and time of file \"" + what + "\": " + lastErrorText());
    }
    return stampOf(info);
}

namespace {

FolderLockWait g_folderLockWait = nullptr;

// A folder to be locked, with its identity (volume and file index).
struct LockedFolder {
    std::filesystem::path name;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};

// Each folder once (two names of one folder are one), in the order of their identity.
std::vector<LockedFolder> identifyFolders(const std::vector<std::filesystem::path>& folders) {
    std::vector<LockedFolder> found;
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
        HANDLE h = ::CreateFileW(systemName(name).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            continue;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = ::GetFileInformationByHandle(h, &info) != 0;
        ::CloseHandle(h);
        const FileStamp id = stampOf(info);
        if (!known || std::any_of(found.begin(), found.end(), [&id](const LockedFolder& f) {
                return f.volume == id.device && f.index == id.file;
            })) {
            continue;
        }
        found.push_back({name, id.device, id.file});
    }
    std::sort(found.begin(), found.end(), [](const LockedFolder& a, const LockedFolder& b) {
        return std::pair(a.volume, a.index) < std::pair(b.volume, b.index);
    });
    return found;
}

// A folder cannot be locked as a file can: a mutex named after its identity stands for it, for every
// process of the machine (of the session, where the global names are not allowed).
HANDLE folderMutex(const LockedFolder& folder) {
    const std::wstring id =
        L"qrv-folder-" + std::to_wstring(folder.volume) + L"-" + std::to_wstring(folder.index);
    HANDLE m = ::CreateMutexW(nullptr, FALSE, (L"Global\\" + id).c_str());
    return m != nullptr ? m : ::CreateMutexW(nullptr, FALSE, (L"Local\\" + id).c_str());
}

}  // namespace

void setFolderLockWaitForTests(FolderLockWait wait) noexcept {
    g_folderLockWait = wait;
}

// A mutex belongs to the thread that took it: the locks are taken and released on one thread.
FolderLocks::FolderLocks(const std::vector<std::filesystem::path>& folders, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (const LockedFolder& folder : identifyFolders(folders)) {
        HANDLE m = folderMutex(folder);
        if (m == nullptr) {
            continue;
        }
        DWORD taken = ::WaitForSingleObject(m, 0);
        if (taken == WAIT_TIMEOUT) {
            if (g_folderLockWait != nullptr) {
                g_folderLockWait(folder.name);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            taken = ::WaitForSingleObject(m, static_cast<DWORD>(std::max<std::int64_t>(left.count(), 0)));
        }
        // An abandoned mutex (its holder ended without releasing it) is taken all the same.
        if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
            held_.push_back(reinterpret_cast<std::intptr_t>(m));
            continue;
        }
        ::CloseHandle(m);
        if (taken == WAIT_TIMEOUT) {
            release();
            throw InUseError("Another run is putting its outputs into the folder \"" + folder.name.string() +
                             "\" (waited " + std::to_string(wait.count() / 1000) +
                             " s). Nothing of this run was put in place. Try again when it ends");
        }
    }
}

FolderLocks::~FolderLocks() {
    release();
}

void FolderLocks::release() noexcept {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        const auto m = reinterpret_cast<HANDLE>(*it);
        ::ReleaseMutex(m);
        ::CloseHandle(m);
    }
    held_.clear();
}

void replaceFile(const std::filesystem::path& from, const std::filesystem::path& target) {
    if (renameReplacingOpenTarget(from, target)) {
        return;
    }
    // Older systems and file systems: the classic rename. Another program (a viewer, a virus scanner) may
    // hold the target for a moment: try again for a while, then report it; the target stays as it was.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::MoveFileExW(systemName(from).c_str(), systemName(target).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return;
        }
        error = ::GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
            error != ERROR_LOCK_VIOLATION) {
            break;
        }
        ::Sleep(100);
    }
    const bool held =
        error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    errno = errnoOf(error);
    throw QrvError("Cannot replace file \"" + target.string() + "\": " +
                   (held ? std::string("it is open in another program or read-only") : lastErrorText()));
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    try {
        std::error_code ec;
        removeEntry(path, ec);
    } catch (...) {
        // Nothing to report from a clean-up.
    }
}

std::filesystem::file_status fileStatus(const std::filesystem::path& path, bool followLinks) {
    using std::filesystem::file_status;
    using std::filesystem::file_type;
    const std::wstring name = systemName(path);
    if (!isLongForm(name)) {
        std::error_code ec;
        return followLinks ? std::filesystem::status(path, ec) : std::filesystem::symlink_status(path, ec);
    }
    // std::filesystem asks the C runtime, which keeps the classic limit: ask the system.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data) == 0) {
        const DWORD error = ::GetLastError();
        return file_status(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                               ? file_type::not_found
                               : file_type::none);
    }
    DWORD attributes = data.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (!followLinks) {
            return file_status(file_type::symlink);
        }
        HANDLE h = ::CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return file_status(file_type::not_found);
        }
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = ::GetFileInformationByHandle(h, &info) != 0;
        ::CloseHandle(h);
        if (!known) {
            return file_status(file_type::none);
        }
        attributes = info.dwFileAttributes;
    }
    return file_status((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? file_type::directory
                                                                    : file_type::regular);
}

std::string libraryFileName(const std::filesystem::path& path) {
    const std::wstring name = systemName(path);
    return isLongForm(name) ? utf8(name.data(), static_cast<int>(name.size())) : path.string();
}

std::filesystem::path executableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return std::filesystem::current_path();
        }
        if (n < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), n)).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path userDataHome() {
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK) {
        result = folder;
    }
    ::CoTaskMemFree(folder);
    return result.empty() ? std::filesystem::current_path() : result;
}

std::tm localTime(std::time_t t) {
    std::tm tm{};
    localtime_s(&tm, &t);
    return tm;
}

std::string userName() {
    wchar_t name[257];  // UNLEN + 1
    DWORD length = sizeof name / sizeof name[0];
    if (::GetUserNameW(name, &length) == 0 || length == 0) {
        return {};
    }
    return utf8(name, static_cast<int>(length - 1));  // the length counts the closing zero
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr || count != argc) {
        if (wide != nullptr) {
            ::LocalFree(wide);
        }
        return {argv, argv + argc};
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        args.push_back(utf8(wide[i], static_cast<int>(std::wcslen(wide[i]))));
    }
    ::LocalFree(wide);
    return args;
}

Utf8Console::Utf8Console() : previous_(::GetConsoleOutputCP()) {
    if (previous_ != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (previous_ != 0) {
        ::SetConsoleOutputCP(previous_);
    }
}

void failWritesPastTheFileSizeLimit() noexcept {}

std::string lastErrorText() {
    return std::strerror(errno);
}

}  // namespace qrv::platform
