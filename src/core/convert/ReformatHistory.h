#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "convert/Reformat.h"
#include "io/LineReader.h"
#include "store/RunHistory.h"

namespace qrv {

struct ReformatRun;

// A run's source file as the history knows it: its size, and the SHA-1 of its content once asked for (the
// file read whole, once). A first reading that digested the file gives both at no cost.
class SourceContent {
  public:
    explicit SourceContent(std::filesystem::path path, const std::optional<FileReading>& read = std::nullopt);
    std::int64_t size() const { return size_; }
    const std::string& sha1();
    // A whole reading the run made digests the content too: a steady one saves reading the file again.
    void learn(const std::optional<FileReading>& read);

  private:
    std::filesystem::path path_;
    std::int64_t size_ = 0;
    std::string sha1_;
};

// The latest completed run of the company and product whose source had this content: a repeat.
std::optional<RunEntry> earlierRunOf(TableStore& store, const std::string& companyId,
                                     const std::string& product, SourceContent& source);

// "This file was converted on <date time> into <destination> (hash ...). Convert it again?"
std::string repeatQuestion(const RunEntry& earlier);

// The history entry of one run of "Reformat Data": begun once its checks passed, recorded once when it
// ends, however it ends (a dry run is no run and is not recorded). The source's content is taken when the
// run ends, from the run's own reading when it made one.
class ReformatRecord {
  public:
    ReformatRecord(const ReformatRun& run, SourceContent& source);
    // The run ended with its result. A failure to record throws, saying that the outputs are in place.
    void ended(const ReformatResult& result);
    // The run ended in an exception (cancelled, or an unexpected error): recorded as far as the store
    // lets it; never throws.
    void endedBy(const std::exception_ptr& error) noexcept;

  private:
    void takeSource();
    const ReformatRun& run_;
    SourceContent& source_;
    TableStore& store_;
    RunEntry entry_;
};

}  // namespace qrv
