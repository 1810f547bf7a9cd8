#include "support/FullDisk.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>

// A file system for SQLite that passes everything to the system's, but refuses writes to chosen files as a
// full disk does. It is registered as the default once, so that the table store opens through it.
namespace qrv::test {

namespace {

std::mutex g_lock;
std::string g_suffix;  // empty: nothing refused
int g_failures = 0;
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs{};

struct File {
    sqlite3_file base;  // first: SQLite sees a sqlite3_file
    sqlite3_file* real;
    std::string name;
};

sqlite3_file* realOf(sqlite3_file* f) {
    return reinterpret_cast<File*>(f)->real;
}

bool refused(sqlite3_file* f) {
    const std::lock_guard lock(g_lock);
    const std::string& name = reinterpret_cast<File*>(f)->name;
    if (g_suffix.empty() || name.size() < g_suffix.size() ||
        name.compare(name.size() - g_suffix.size(), g_suffix.size(), g_suffix) != 0) {
        return false;
    }
    ++g_failures;
    return true;
}

int xClose(sqlite3_file* f) {
    File* file = reinterpret_cast<File*>(f);
    const int rc = file->real->pMethods != nullptr ? file->real->pMethods->xClose(file->real) : SQLITE_OK;
    sqlite3_free(file->real);
    file->name.~basic_string();
    return rc;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
    return realOf(f)->pMethods->xRead(realOf(f), p, n, at);
}
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
    return refused(f) ? SQLITE_FULL : realOf(f)->pMethods->xWrite(realOf(f), p, n, at);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int xSync(sqlite3_file* f, int flags) {
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int xLock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int xUnlock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}
int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) {
    realOf(f)->pMethods->xShmBarrier(realOf(f));
}
int xShmUnmap(sqlite3_file* f, int deleteFlag) {
    return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
}
int xFetch(sqlite3_file* f, sqlite3_int64 at, int n, void** out) {
    return realOf(f)->pMethods->xFetch(realOf(f), at, n, out);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 at, void* p) {
    return realOf(f)->pMethods->xUnfetch(realOf(f), at, p);
}

const sqlite3_io_methods kMethods = {3,
                                     xClose,
                                     xRead,
                                     xWrite,
                                     xTruncate,
                                     xSync,
                                     xFileSize,
                                     xLock,
                                     xUnlock,
                                     xCheckReservedLock,
                                     xFileControl,
                                     xSectorSize,
                                     xDeviceCharacteristics,
                                     xShmMap,
                                     xShmLock,
                                     xShmBarrier,
                                     xShmUnmap,
                                     xFetch,
                                     xUnfetch};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = reinterpret_cast<File*>(f);
    file->base.pMethods = nullptr;
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(g_real->szOsFile));
    if (file->real == nullptr) {
        return SQLITE_NOMEM;
    }
    std::memset(file->real, 0, static_cast<size_t>(g_real->szOsFile));
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        sqlite3_free(file->real);
        return rc;
    }
    new (&file->name) std::string(name != nullptr ? name : "");
    file->base.pMethods = &kMethods;
    return SQLITE_OK;
}

// Everything else is the system's.
int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return g_real->xDelete(g_real, name, syncDir);
}
int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_real->xAccess(g_real, name, flags, out);
}
int xFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return g_real->xFullPathname(g_real, name, n, out);
}
void* xDlOpen(sqlite3_vfs*, const char* name) {
    return g_real->xDlOpen(g_real, name);
}
void xDlError(sqlite3_vfs*, int n, char* out) {
    g_real->xDlError(g_real, n, out);
}
void (*xDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return g_real->xDlSym(g_real, handle, symbol);
}
void xDlClose(sqlite3_vfs*, void* handle) {
    g_real->xDlClose(g_real, handle);
}
int xRandomness(sqlite3_vfs*, int n, char* out) {
    return g_real->xRandomness(g_real, n, out);
}
int xSleep(sqlite3_vfs*, int micro) {
    return g_real->xSleep(g_real, micro);
}
int xCurrentTime(sqlite3_vfs*, double* out) {
    return g_real->xCurrentTime(g_real, out);
}
int xGetLastError(sqlite3_vfs*, int n, char* out) {
    return g_real->xGetLastError(g_real, n, out);
}
int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return g_real->xCurrentTimeInt64(g_real, out);
}

void registerOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_real = sqlite3_vfs_find(nullptr);
        g_vfs.iVersion = 2;
        g_vfs.szOsFile = sizeof(File);
        g_vfs.mxPathname = g_real->mxPathname;
        g_vfs.zName = "qrv-full-disk";
        g_vfs.xOpen = xOpen;
        g_vfs.xDelete = xDelete;
        g_vfs.xAccess = xAccess;
        g_vfs.xFullPathname = xFullPathname;
        g_vfs.xDlOpen = xDlOpen;
        g_vfs.xDlError = xDlError;
        g_vfs.xDlSym = xDlSym;
        g_vfs.xDlClose = xDlClose;
        g_vfs.xRandomness = xRandomness;
        g_vfs.xSleep = xSleep;
        g_vfs.xCurrentTime = xCurrentTime;
        g_vfs.xGetLastError = xGetLastError;
        g_vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
        sqlite3_vfs_register(&g_vfs, 1);
    });
}

// Before any connection of the test program opens, so that every one goes through it.
const bool kRegistered = (registerOnce(), true);

}  // namespace

FullStoreDisk::FullStoreDisk(std::string suffix) {
    registerOnce();
    const std::lock_guard lock(g_lock);
    g_suffix = std::move(suffix);
    g_failures = 0;
}

FullStoreDisk::~FullStoreDisk() {
    const std::lock_guard lock(g_lock);
    g_suffix.clear();
}

int FullStoreDisk::failures() {
    const std::lock_guard lock(g_lock);
    return g_failures;
}

}  // namespace qrv::test
