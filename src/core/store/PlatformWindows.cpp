// The platform layer on Windows (chosen by CMake instead of Platform.cpp). File names are UTF-16 through
// the wide API; descriptors are the C runtime's, opened in binary mode over handles that share read, write
// and delete, so that a file this program holds never stops another program, nor its own replacement.
// windows.h first: the others need its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <random>
#include <vector>

#include "store/Platform.h"
#include "store/QrvError.h"

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

// A C runtime descriptor over a handle opened with every sharing mode; -1 with errno set on failure.
int openShared(const std::filesystem::path& path, DWORD access, DWORD disposition, int crtFlags) {
    HANDLE h = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    if (std::error_code ec; std::filesystem::is_directory(path, ec)) {
        errno = EISDIR;
        return -1;
    }
    return openShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY);
}

int openForWriting(const std::filesystem::path& path, bool append) {
    const int fd = openShared(path, GENERIC_WRITE, append ? OPEN_EXISTING : CREATE_ALWAYS, _O_WRONLY);
    if (fd >= 0 && append && ::_lseeki64(fd, 0, SEEK_END) < 0) {
        ::_close(fd);
        return -1;
    }
    return fd;
}

void setOrdinaryPermissions(int) {
    // A new file inherits its folder's access rights; nothing to widen.
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

void syncFile(int fd, const std::string& what) {
    if (::_commit(fd) != 0) {
        throw QrvError("Cannot write file \"" + what + "\" to disk: " + lastErrorText());
    }
}

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
    HANDLE h = ::CreateFileW(from.c_str(), DELETE | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::error_code ec;
    const std::wstring name = std::filesystem::absolute(target, ec).wstring();
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

void replaceFile(const std::filesystem::path& from, const std::filesystem::path& target) {
    if (renameReplacingOpenTarget(from, target)) {
        return;
    }
    // Older systems and file systems: the classic rename. Another program (a viewer, a virus scanner) may
    // hold the target for a moment: try again for a while, then report it; the target stays as it was.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
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
    std::error_code ec;
    std::filesystem::remove(path, ec);
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

std::string lastErrorText() {
    return std::strerror(errno);
}

}  // namespace qrv::platform
