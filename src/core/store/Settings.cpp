#include "store/Settings.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace qrv {

namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
}  // namespace

int settingsHandler(void* user, const char* section, const char* name, const char* value) {
    auto* settings = static_cast<Settings*>(user);
    settings->values_.emplace(Settings::makeKey(section, name), value);  // the first occurrence wins
    return 1;
}

std::string Settings::makeKey(const std::string& section, const std::string& key) {
    return lower(section) + '\n' + lower(key);
}

Settings Settings::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

Settings Settings::parse(const std::string& text) {
    Settings settings;
    ini_parse_string(text.c_str(), settingsHandler, &settings);
    return settings;
}

std::string Settings::get(const std::string& section, const std::string& key,
                          const std::string& fallback) const {
    const auto it = values_.find(makeKey(section, key));
    return it == values_.end() ? fallback : it->second;
}

bool Settings::has(const std::string& section, const std::string& key) const {
    return values_.count(makeKey(section, key)) > 0;
}

}  // namespace qrv
