#include "upload/ZipOutputs.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/WorkFile.h"

namespace qrv {

namespace {

// The writer hands the bytes over in chunks, and may be a few chunks ahead of the packer: enough to keep
// both threads busy with few hand-overs, and little memory.
constexpr size_t kChunk = 1 << 18;
constexpr size_t kChunksAhead = 4;

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

// The entry's bytes as the writer hands them over. Once all are read, its description (time, size,
// permissions) is the archive library's own of the finished file, so that nothing differs from packing
// that file.
struct ArchivePacker::Source {
    explicit Source(ArchivePacker& packer) : packer(packer) { zip_error_init(&error); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source() {
        if (file != nullptr) {
            zip_source_free(file);
        }
        zip_error_fini(&error);
    }

    static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t command) {
        return static_cast<Source*>(self)->handle(data, len, command);
    }

    zip_int64_t handle(void* data, zip_uint64_t len, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                      ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                      ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
            case ZIP_SOURCE_OPEN:
            case ZIP_SOURCE_CLOSE:
            case ZIP_SOURCE_FREE:
                return 0;
            case ZIP_SOURCE_READ:
                return read(static_cast<char*>(data), len);
            case ZIP_SOURCE_STAT:
                return stat(static_cast<zip_stat_t*>(data));
            case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
                auto* attributes = static_cast<zip_file_attributes_t*>(data);
                if (file != nullptr && zip_source_get_file_attributes(file, attributes) != 0) {
                    zip_error_set(&error, ZIP_ER_INTERNAL, 0);
                    return -1;
                }
                return sizeof(*attributes);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error, data, len);
            default:
                zip_error_set(&error, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
    }

    zip_int64_t read(char* data, zip_uint64_t len) {
        if (offset == chunk.size() && !takeChunk()) {
            return abandoned || !describeFinishedFile() ? -1 : 0;
        }
        const size_t n = std::min<size_t>(len, chunk.size() - offset);
        std::memcpy(data, chunk.data() + offset, n);
        offset += n;
        return static_cast<zip_int64_t>(n);
    }

    // The next chunk, the one read going back to the writer; false at the end of the bytes or when the
    // packing is abandoned.
    bool takeChunk() {
        offset = 0;
        if (packer.queue_.take(chunk)) {
            return true;
        }
        if (packer.queue_.abandoned()) {
            abandoned = true;
            zip_error_set(&error, ZIP_ER_CANCELLED, 0);
        }
        return false;
    }

    bool describeFinishedFile() {
        if (file == nullptr) {
            file = zip_source_file_create(platform::libraryFileName(packer.upload_).c_str(), 0, -1, &error);
        }
        return file != nullptr;
    }

    zip_int64_t stat(zip_stat_t* st) {
        if (file != nullptr) {
            if (zip_source_stat(file, st) != 0) {
                zip_error_set(&error, ZIP_ER_READ, 0);
                return -1;
            }
            return sizeof(*st);
        }
        zip_stat_init(st);
        st->size = packer.size_;
        st->mtime = std::time(nullptr);
        st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(*st);
    }

    ArchivePacker& packer;
    std::string chunk;  // being read by the archive library
    size_t offset = 0;
    bool abandoned = false;
    zip_error_t error;
    zip_source_t* file = nullptr;  // the finished file, as the archive library describes it
};

namespace {

// Where the archive library writes the archive: straight into the run's work file, at the positions it asks
// for. Its own way of writing a file goes through a temporary file of its own making beside it, which the
// handler of TERM, INT and HUP cannot know of; this way only the registered work file ever holds the
// archive. A write that fails keeps its error for the packer to throw once the library has given up.
class ArchiveSink {
  public:
    explicit ArchiveSink(std::filesystem::path path) : path_(std::move(path)) { zip_error_init(&error_); }
    ArchiveSink(const ArchiveSink&) = delete;
    ArchiveSink& operator=(const ArchiveSink&) = delete;
    ~ArchiveSink() {
        close();
        zip_error_fini(&error_);
    }

    static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t command) {
        return static_cast<ArchiveSink*>(self)->handle(data, len, command);
    }
    // The failure of a write, if one failed.
    std::exception_ptr failure() const { return failure_; }

  private:
    zip_int64_t handle(void* data, zip_uint64_t len, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_SUPPORTS:
                return ZIP_SOURCE_SUPPORTS_WRITABLE;
            case ZIP_SOURCE_STAT:
                // A new archive: there is nothing to read.
                zip_error_set(&error_, ZIP_ER_READ, ENOENT);
                return -1;
            case ZIP_SOURCE_OPEN:
            case ZIP_SOURCE_READ:
            case ZIP_SOURCE_CLOSE:
            case ZIP_SOURCE_SEEK:
            case ZIP_SOURCE_TELL:
            case ZIP_SOURCE_FREE:
            case ZIP_SOURCE_REMOVE:  // an archive without entries is never made
                return 0;
            case ZIP_SOURCE_BEGIN_WRITE:
                return guarded([this] {
                    fd_ = platform::openOutput(path_, false);
                    if (fd_ < 0) {
                        throw QrvError("Cannot write file \"" + path_.string() +
                                       "\": " + platform::lastErrorText());
                    }
                    at_ = end_ = 0;
                });
            case ZIP_SOURCE_WRITE:
                return guarded([&] {
                           platform::writeAllAt(fd_, at_, static_cast<const char*>(data), len,
                                                path_.string());
                           at_ += len;
                           end_ = std::max(end_, at_);
                       }) < 0
                           ? -1
                           : static_cast<zip_int64_t>(len);
            case ZIP_SOURCE_SEEK_WRITE:
                return seek(data, len);
            case ZIP_SOURCE_TELL_WRITE:
                return static_cast<zip_int64_t>(at_);
            case ZIP_SOURCE_COMMIT_WRITE:
                return guarded([this] {
                    const int fd = std::exchange(fd_, -1);
                    platform::closeFile(fd);
                });
            case ZIP_SOURCE_ROLLBACK_WRITE:
                close();
                return 0;
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error_, data, len);
            default:
                zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
    }

    zip_int64_t seek(void* data, zip_uint64_t len) {
        const auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &error_);
        if (args == nullptr) {
            return -1;
        }
        const zip_int64_t base = args->whence == SEEK_SET   ? 0
                                 : args->whence == SEEK_CUR ? static_cast<zip_int64_t>(at_)
                                                            : static_cast<zip_int64_t>(end_);
        if (args->offset < -base) {
            zip_error_set(&error_, ZIP_ER_INVAL, 0);
            return -1;
        }
        at_ = static_cast<std::uint64_t>(base + args->offset);
        return 0;
    }

    // Runs `step`; a failure is kept and told to the library as a write error.
    template <typename Step>
    zip_int64_t guarded(Step step) {
        try {
            step();
            return 0;
        } catch (...) {
            failure_ = std::current_exception();
            zip_error_set(&error_, ZIP_ER_WRITE, EIO);
            return -1;
        }
    }

    void close() noexcept {
        if (fd_ >= 0) {
            try {
                platform::closeFile(std::exchange(fd_, -1));
            } catch (...) {
            }
        }
    }

    std::filesystem::path path_;
    int fd_ = -1;
    std::uint64_t at_ = 0;   // where the next write goes
    std::uint64_t end_ = 0;  // the bytes written so far
    zip_error_t error_;
    std::exception_ptr failure_;
};

}  // namespace

ArchivePacker::ArchivePacker(const std::filesystem::path& archive, const std::filesystem::path& uploadFile,
                             const std::string& entryName, std::uint64_t size)
    : archive_(archive), upload_(uploadFile), entry_(entryName), size_(size), queue_(kChunk, kChunksAhead) {
    platform::refuseSpecialFile(archive);
    checkExistingArchive(archive);
    // The new archive is built in a work file beside the target; libzip writes it on close.
    work_.emplace(workFileFor(archive, ""));
    work_->close();
    thread_ = std::thread([this] { pack(); });
}

ArchivePacker::~ArchivePacker() {
    if (thread_.joinable()) {
        queue_.abandon();
        thread_.join();
    }
}

void ArchivePacker::add(std::string_view bytes) {
    queue_.add(bytes);
}

AtomicFile ArchivePacker::finish() {
    queue_.close();
    thread_.join();
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    // The archive library writes a private file (0600): finishing it gives it the umask's permissions.
    return AtomicFile(archive_, std::move(*work_));
}

void ArchivePacker::pack() {
    try {
        ArchiveSink sink(work_->path());
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* into = zip_source_function_create(&ArchiveSink::callback, &sink, &error);
        zip_t* z = into != nullptr ? zip_open_from_source(into, ZIP_CREATE | ZIP_TRUNCATE, &error) : nullptr;
        if (z == nullptr) {
            if (into != nullptr) {
                zip_source_free(into);
            }
            throw QrvError("Cannot create archive \"" + archive_.string() + "\": " + zipErrorText(&error));
        }
        zip_error_fini(&error);
        const auto fail = [&z, &sink, this](const std::string& what) {
            const std::string text = zip_strerror(z);
            zip_discard(z);
            // A write that failed says what failed itself (a full disk).
            if (sink.failure()) {
                std::rethrow_exception(sink.failure());
            }
            throw QrvError(what + " archive \"" + archive_.string() + "\": " + text);
        };
        Source feed(*this);
        zip_source_t* source = zip_source_function(z, &Source::callback, &feed);
        if (source == nullptr) {
            fail("Cannot read \"" + upload_.string() + "\" for");
        }
        const zip_flags_t nameFlags = isAscii(entry_) ? ZIP_FL_ENC_GUESS : ZIP_FL_ENC_UTF_8;
        const zip_int64_t index = zip_file_add(z, entry_.c_str(), source, nameFlags | ZIP_FL_OVERWRITE);
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
    } catch (...) {
        failure_ = std::current_exception();
    }
    queue_.stopReading();
}

std::optional<AtomicFile> PackArchive(const std::filesystem::path& archive,
                                      const std::filesystem::path& uploadFile, const std::string& entry) {
    if (!std::filesystem::is_regular_file(platform::fileStatus(uploadFile, true))) {
        return std::nullopt;
    }
    ArchivePacker packer(archive, uploadFile, entry, std::filesystem::file_size(uploadFile));
    platform::readBlocks(uploadFile, 1 << 16, [&packer](std::string_view block) { packer.add(block); });
    return packer.finish();
}

}  // namespace qrv
