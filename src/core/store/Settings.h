#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

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

    // Every key in file order, as written (the first occurrence of each), with its section's name as
    // written.
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    static std::string makeKey(const std::string& section, const std::string& key);
    std::map<std::string, std::string> values_;
    std::vector<Entry> entries_;
    friend int settingsHandler(void*, const char*, const char*, const char*);
};

}  // namespace qrv
