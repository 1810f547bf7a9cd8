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

// The refusal when `file` exists but is a FIFO, device or socket (a pipe or /dev/stdin, which could be read
// only once), saying what it is; `what` names the input ("source"). Nothing for a regular file, a folder
// (which is no file of that name) or nothing.
std::optional<std::string> notRegularFile(const std::filesystem::path& file, std::string_view what);

// Whether two paths name one file as an output sees it: the same file where both exist (another name of it,
// a hard link, counts), otherwise the same name in the same folder (the folders resolved, the last name
// not: an output replaces a symbolic link rather than writing through it).
bool sameOutputFile(const std::filesystem::path& a, const std::filesystem::path& b);
// Whether `file` lies directly in `folder`.
bool inFolder(const std::filesystem::path& file, const std::filesystem::path& folder);
// Whether a file name is valid text for the system's file names (UTF-8 here; Windows names are UTF-16, made
// from valid UTF-8 only).
bool isValidFileNameText(const std::string& name);

// Bytes that are valid UTF-8 holding a character of the Thai block (E0 B8 xx, E0 B9 xx): Thai text saved
// as UTF-8 where code page 874 is expected (whose Thai text is valid UTF-8 only by accident). `complete`:
// the bytes are the whole text, so a sequence cut at their end is invalid rather than cut by a prefix.
bool looksLikeUtf8Thai(std::string_view bytes, bool complete);

}  // namespace qrv
