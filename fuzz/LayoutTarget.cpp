#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "refdata/ReferenceSeed.h"
#include "reports/ReportPages.h"
#include "reports/ReportRunner.h"
#include "reports/ReportSnapshot.h"
#include "store/Schema.h"

namespace qrv::fuzz {

namespace {

const char* const kTexts[] = {"ACME <&> 'quoted' \"too\"", "สมชาย ใจดี", "{{ComName}}", "0000000002873.950",
                              ""};

// A store of its own whose every dataset has three rows, each field holding a value of its kind, made
// once per process.
class DatasetStore {
  public:
    DatasetStore() : store_(harness().folder("layout-store"), ReferenceSeed(harness().data())) {
        for (const TableDef& table : schemaTables()) {
            if (isReferenceTable(table.name)) {
                continue;
            }
            for (int row = 0; row < 3; ++row) {
                FieldValues values;
                int i = row;
                for (const FieldDef& field : table.fields) {
                    values.emplace_back(field.name, valueOf(field.kind, ++i));
                }
                store_.append(table.name, values);
            }
        }
    }
    TableStore& store() { return store_; }

  private:
    static Value valueOf(FieldKind kind, int i) {
        switch (kind) {
            case FieldKind::Float:
                return i % 2 != 0 ? 1234.5 : -0.005;
            case FieldKind::Currency:
                return Money::fromUnits(i % 2 != 0 ? 12345678 : -1);
            case FieldKind::Integer:
                return std::int64_t{i};
            default:
                return std::string(kTexts[i % 5]);
        }
    }

    TableStore store_;
};

TableStore& datasetStore() {
    static DatasetStore s;
    return s.store();
}

}  // namespace

// A report layout file loaded and rendered over datasets with rows, as the front ends render it: whole,
// and, with option bit 1, in chunks of 1-4 rows that must add up to the whole page. Bit 0: no store (the
// datasets show nothing). The part after the option byte and before a separator is the layout; what
// follows is the text of every variable.
void layoutTarget(const uint8_t* data, size_t size) {
    const uint8_t option = takeOption(data, size);
    const auto parts = splitParts(data, size, 2);
    Harness& h = harness();
    h.reset();
    TableStore& store = datasetStore();
    ReportRunner runner("result", false);
    guarded([&] { runner.loadLayout(h.put("rptFuzz.frf", parts[0])); });
    const std::string value(parts[1]);
    for (const char* name : {"ComName", "Amount", "TotalAmount", "File Name", "Hash Value"}) {
        runner.setVariable(name, value);
    }
    ShownReport report = runner.prepare(store);
    if ((option & 1) != 0) {
        report.store = nullptr;
    }
    std::string whole;
    guarded([&] { whole = RenderReportHtml(report); });
    if ((option & 2) == 0 || report.store == nullptr) {
        return;
    }
    guarded([&] {
        const ReportPages pages(ReportSnapshot::take(report), 1 + (option >> 2) % 4);
        std::ostringstream joined;
        pages.renderWhole(joined);
        if (joined.str() != whole) {
            std::fprintf(stderr, "the report rendered from its snapshot differs from the report itself\n");
            std::abort();
        }
        for (size_t chunk = 0; chunk < pages.chunkCount(); ++chunk) {
            (void)pages.render(chunk);
        }
    });
}

}  // namespace qrv::fuzz
