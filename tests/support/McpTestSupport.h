#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

// Building Manager Cheque source and invoice lines the way the layouts describe them: (column, text)
// pairs placed into a line of blanks.
namespace qrv::test {

// A line of `width` blanks (at least as long as its last field) with each text at its 1-based column.
std::string LineOf(const std::vector<std::pair<int, std::string>>& fields, size_t width = 0);

// A cheque line of 700 characters: an accepted cheque of 1,000.00 baht due on 2026-12-08 from debit
// account 1234567896, no tax, no invoices; `with` replaces or adds fields by column.
class Cheque {
  public:
    Cheque();
    Cheque& with(int column, const std::string& text);
    std::string line() const;

  private:
    std::map<int, std::string> fields_;
};

// A Manager Cheque run over the fixture: product MCP, company ACME01, source "chq.txt", destination
// "up.txt" in the output folder, the data folder's settings.
struct McpBench : OperationFixture {
    explicit McpBench(const std::string& defaultIni = "");
    void source(const std::vector<std::string>& lines);
    void invoices(const std::vector<std::string>& lines);
    // Runs "Reformat Data" with the request; the messages it told.
    std::vector<std::string> press();
    std::filesystem::path uploadPath() const { return out / "up.txt"; }
    // The upload file's lines without their CR LF (empty when there is none).
    std::vector<std::string> upload() const;
    std::filesystem::path listing(const std::string& suffix) const { return out / ("ACME01_MCP" + suffix); }
    // Lines of the upload file that start with `type` ("003").
    std::vector<std::string> records(const std::string& type) const;
    // The variables of the last report shown, by name.
    std::string variable(const std::string& name) const;
    ReformatRequest request;
};

std::string Blanks(size_t n);
std::string Zeros(size_t n);
// `text` blank-filled on the right to `width`.
std::string Pad(const std::string& text, size_t width);

}  // namespace qrv::test
