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

// The refusal when a customer's text file is not code page 874 but UTF-8: it starts with a UTF-8
// byte-order mark, or its first 64 KiB are valid UTF-8 holding a character of the Thai block (E0 B8 xx,
// E0 B9 xx). Code page 874 Thai text is valid UTF-8 only by accident, so true code page 874 files pass.
// Nothing when the file passes or cannot be read (the reader then reports that).
std::optional<std::string> notCodePage874(const std::filesystem::path& file);

// The test of notCodePage874 over bytes already read (`complete`: the bytes are the whole file, so a
// sequence cut at the end is invalid rather than cut by the prefix).
bool looksLikeUtf8Thai(std::string_view bytes, bool complete);

}  // namespace qrv
