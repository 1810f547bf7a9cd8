#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qrv {

class Events;

// An output a run may write besides its destination, and how a refusal names it.
struct OtherOutput {
    std::filesystem::path path;
    std::string what;  // "this run's error listing", ...
};

// The report files the front end writes for a run's reports, if any.
std::vector<OtherOutput> reportOutputs(const Events& events);

// The refusal when the destination of a run is named like another of its outputs (compared as the files
// they would replace), or like a file of the data folder: its table store (with the store's journal
// files), settings or sample files. (The other outputs' names are made apart from those.) Nothing when
// the names are apart.
std::optional<std::string> outputCollision(const std::filesystem::path& destination,
                                           const std::vector<OtherOutput>& others,
                                           const std::filesystem::path& dataFolder);

}  // namespace qrv
