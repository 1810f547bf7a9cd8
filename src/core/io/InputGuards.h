#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Checks of the files an operation is given, made before anything is written.
namespace qrv {

// The refusal when `destination` is the same file as `input` (compared by file identity, so another name
// of the same file counts); nothing when they differ or either does not exist. `inputName` says which
// input it is ("source", "invoice", "return").
std::optional<std::string> overwritesInput(const std::filesystem::path& destination,
                                           const std::filesystem::path& input, std::string_view inputName);

// Bytes that are valid UTF-8 holding a character of the Thai block (E0 B8 xx, E0 B9 xx): Thai text saved
// as UTF-8 where code page 874 is expected (whose Thai text is valid UTF-8 only by accident). `complete`:
// the bytes are the whole text, so a sequence cut at their end is invalid rather than cut by a prefix.
bool looksLikeUtf8Thai(std::string_view bytes, bool complete);

}  // namespace qrv
