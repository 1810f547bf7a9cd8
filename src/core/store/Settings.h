#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace qrv {

// Keys of an INI file. Section and key names match regardless of case, blanks around names and values
// are trimmed, the first occurrence of a key wins, and a missing file or key gives the caller's default.
class Settings {
  public:
    Settings() = default;
    static Settings load(const std::filesystem::path& file);
    // From INI text (used by load and by tests).
    static Settings parse(const std::string& text);

    std::string get(const std::string& section, const std::string& key, const std::string& fallback) const;
    bool has(const std::string& section, const std::string& key) const;

  private:
    static std::string makeKey(const std::string& section, const std::string& key);
    std::map<std::string, std::string> values_;
    friend int settingsHandler(void*, const char*, const char*, const char*);
};

}  // namespace qrv
