#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "cli/CliApp.h"
#include "support/TestSupport.h"

// Every command of the examples' README.txt, run in its order as a person would run it, must give the very
// outputs kept under tests/cli/golden: what it printed and its exit status, the bytes of every file it wrote
// or changed in out/, the entries of every archive, and every report JSON. A difference is a change users
// see: it is either a fault or a decided change, named with its reason when the expected files are made
// again (tools/golden-update).
namespace qrv {
namespace {

namespace fs = std::filesystem;

const Date kToday{2026, 12, 8};
const fs::path kGolden = fs::path(QRV_SOURCE_TESTS) / "cli" / "golden";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The words of a README command after "$Q", as a shell splits them (double quotes group).
std::vector<std::string> words(const std::string& command) {
    std::vector<std::string> w;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char c : command) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) {
                w.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        w.push_back(word);
    }
    return w;
}

// The README's "$Q ..." commands, their continuation lines joined.
std::vector<std::string> readmeCommands(const std::string& readme) {
    std::vector<std::string> commands;
    std::istringstream in(readme);
    bool continued = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t start = line.find_first_not_of(' ');
        std::string text = start == std::string::npos ? "" : line.substr(start);
        const bool starts = text.rfind("$Q ", 0) == 0;
        if (!continued && !starts) {
            continue;
        }
        if (starts) {
            text.erase(0, 3);
        }
        continued = !text.empty() && text.back() == '\\';
        if (continued) {
            text.pop_back();
            text.erase(text.find_last_not_of(' ') + 1);
        }
        if (starts) {
            commands.push_back(text);
        } else {
            commands.back() += " " + text;
        }
    }
    return commands;
}

// The files of a folder, recursively, by path relative to it.
std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) {
        return files;
    }
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (e.is_regular_file()) {
            files[fs::relative(e.path(), folder).generic_string()] = test::readFile(e.path());
        }
    }
    return files;
}

// A short name for a command's folder: its number and its first words.
std::string folderName(size_t index, const std::vector<std::string>& args) {
    char number[8];
    std::snprintf(number, sizeof number, "%02zu", index + 1);
    std::string name = number;
    for (size_t i = 0; i < args.size() && i < 5; ++i) {
        if (args[i].rfind("--", 0) == 0 && i > 0) {
            continue;
        }
        std::string word;
        for (const char c : fs::path(args[i]).stem().string()) {
            word += std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' ? c : '_';
        }
        name += "-" + word;
    }
    return name;
}

class GoldenOutputs : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = dir_ / "examples";
        ASSERT_EQ(qrv({"examples", folder_.string()}).status, 0);
        previous_ = fs::current_path();
        fs::current_path(folder_);
        fs::create_directories("out");
        ASSERT_EQ(qrv({"--data", "./Data", "init"}).status, 0);
    }
    void TearDown() override { fs::current_path(previous_); }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run qrv(std::vector<std::string> args) {
        args.insert(args.begin(), "qrv");
        std::vector<const char*> argv;
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        std::ostringstream out;
        std::ostringstream err;
        const FixedClock clock(kToday);
        const int status = cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err, clock);
        return {status, out.str(), err.str()};
    }

    // Text with this run's folder put back as the README writes it.
    std::string portable(const std::string& text) const {
        return replaceAll(text, folder_.string(), "@FOLDER@");
    }

    // Everything one command gave, by the name it is kept under.
    std::map<std::string, std::string> outputsOf(const std::string& command) {
        fs::remove_all("reports");
        const std::map<std::string, std::string> before = filesIn("out");
        std::vector<std::string> args = {"--data",           "./Data",       "--reports",
                                         QRV_SOURCE_REPORTS, "--report-out", "./reports"};
        for (const std::string& w : words(command)) {
            args.push_back(w);
        }
        const Run run = qrv(args);

        std::map<std::string, std::string> kept;
        std::string transcript = "$ qrv " + command + "\nexit " + std::to_string(run.status) +
                                 "\n--- stdout\n" + portable(run.out) + "--- stderr\n" + portable(run.err) +
                                 "--- out/\n";
        const std::map<std::string, std::string> after = filesIn("out");
        for (const auto& [name, bytes] : before) {
            if (after.count(name) == 0) {
                transcript += name + " removed\n";
            }
        }
        for (const auto& [name, bytes] : after) {
            const auto was = before.find(name);
            if (was != before.end() && was->second == bytes) {
                continue;
            }
            transcript += name + (was == before.end() ? " new\n" : " changed\n");
            if (fs::path(name).extension() == ".zip") {
                // An archive by its entries: the archive's own bytes carry file times.
                for (const test::ZipEntry& e : test::readZip(fs::path("out") / name)) {
                    kept["out/" + name + ".entries/" + e.name] = e.content;
                    transcript += "  entry " + e.name + " method " + std::to_string(e.method) + "\n";
                }
            } else {
                kept["out/" + name] = bytes;
            }
        }
        for (const auto& [name, bytes] : filesIn("reports")) {
            if (fs::path(name).extension() == ".json") {
                kept["reports/" + name] = portable(bytes);
            }
        }
        kept["transcript.txt"] = transcript;
        return kept;
    }

    test::TempDir dir_;
    fs::path folder_;
    fs::path previous_;
};

// Where two texts first differ, for the failure message.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        ++at;
    }
    const size_t line = static_cast<size_t>(std::count(expected.begin(), expected.begin() + at, '\n')) + 1;
    const size_t from = at < 40 ? 0 : at - 40;
    return "first difference at byte " + std::to_string(at) + " (line " + std::to_string(line) +
           ")\n  expected: " + expected.substr(from, 80) + "\n  actual:   " + actual.substr(from, 80);
}

TEST_F(GoldenOutputs, EveryExampleCommandGivesItsKeptOutputs) {
#ifdef _WIN32
    // The kept files are in the build host's source tree, which a cross-built test under Wine cannot name;
    // tools/windows/test compares qrv.exe's outputs of every example with the Linux qrv's instead.
    GTEST_SKIP();
#endif
    const std::vector<std::string> commands = readmeCommands(test::readFile("README.txt"));
    ASSERT_GE(commands.size(), 18u);
    const bool update = std::getenv("QRV_GOLDEN_UPDATE") != nullptr;
    if (update) {
        fs::remove_all(kGolden);
    }
    for (size_t i = 0; i < commands.size(); ++i) {
        const fs::path expectedFolder = kGolden / folderName(i, words(commands[i]));
        const std::map<std::string, std::string> actual = outputsOf(commands[i]);
        if (update) {
            for (const auto& [name, bytes] : actual) {
                fs::create_directories((expectedFolder / name).parent_path());
                test::writeFile(expectedFolder / name, bytes);
            }
            continue;
        }
        const std::map<std::string, std::string> expected = filesIn(expectedFolder);
        for (const auto& [name, bytes] : expected) {
            const auto found = actual.find(name);
            if (found == actual.end()) {
                ADD_FAILURE() << commands[i] << "\n  did not give " << name;
            } else if (found->second != bytes) {
                ADD_FAILURE() << commands[i] << "\n  " << name << ": "
                              << firstDifference(bytes, found->second);
            }
        }
        for (const auto& [name, bytes] : actual) {
            if (expected.count(name) == 0) {
                ADD_FAILURE() << commands[i] << "\n  gave " << name << ", which is not kept ("
                              << expectedFolder << ")";
            }
        }
    }
}

}  // namespace
}  // namespace qrv
