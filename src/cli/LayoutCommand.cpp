#include <iomanip>
#include <sstream>

#include "cli/CliApp.h"
#include "convert/Product.h"
#include "layout/LayoutCatalog.h"
#include "layout/RecordWriter.h"

// "qrv layout PRODUCT": the source layout of a product from the tables the converters read it with, for
// the people who produce these files.
namespace qrv::cli {

namespace {

using namespace layout;

nlohmann::json layoutJson(SourceFile file, const std::string& name) {
    const SourceLayouts& source = sourceLayouts(file);
    nlohmann::json layouts = nlohmann::json::array();
    for (const Layout* l : source.layouts) {
        nlohmann::json fields = nlohmann::json::array();
        const std::string defaults = defaultRecord(*l);
        for (const Field& f : l->fields) {
            nlohmann::json field = {{"name", f.name},     {"first", f.first},         {"last", f.last},
                                    {"width", f.width()}, {"kind", kindName(f.kind)}, {"rule", f.rule}};
            if (f.kind == Kind::Amount) {
                field["decimals"] = f.decimals;
                field["signed"] = f.isSigned;
            } else if (f.kind == Kind::Date) {
                field["form"] = dateFormName(f.form);
            } else if (f.kind == Kind::Code) {
                field["codes"] = f.codes;
            }
            fields.push_back(std::move(field));
        }
        layouts.push_back({{"name", l->name}, {"length", l->length}, {"fields", std::move(fields)}});
    }
    return {{"source", name}, {"title", source.title}, {"layouts", std::move(layouts)}};
}

void printLayouts(std::ostream& out, SourceFile file) {
    const SourceLayouts& source = sourceLayouts(file);
    out << source.title << '\n';
    for (const Layout* l : source.layouts) {
        out << '\n' << l->name << ", " << l->length << " columns\n";
        out << std::left << "  " << std::setw(34) << "field" << std::setw(10) << "columns" << std::setw(7)
            << "width" << std::setw(26) << "kind"
            << "rule\n";
        for (const Field& f : l->fields) {
            std::ostringstream row;
            row << std::left << "  " << std::setw(34) << f.name << std::setw(10) << columnsText(f)
                << std::setw(7) << f.width() << std::setw(26) << kindText(f) << f.rule;
            std::string text = row.str();
            text.erase(text.find_last_not_of(' ') + 1);
            out << text << '\n';
        }
    }
}

}  // namespace

void registerLayoutCommand(CLI::App& app, CommandTable& table) {
    auto product = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "layout", "The columns of a product's source file: field, columns, width, kind and rule");
    std::string names;
    for (const ProductInfo& p : products()) {
        names += (names.empty() ? "" : ", ") + std::string(p.code);
    }
    for (const std::string_view n : sourceFileNames()) {
        names += ", " + std::string(n);
    }
    cmd->add_option("PRODUCT", *product, "One of " + names)->required();
    table.add(cmd, [product, names](Session& s) {
        const std::optional<Product> named = productNamed(*product);
        const std::optional<SourceFile> file = named ? productInfo(*named).source : sourceFileNamed(*product);
        if (!file) {
            throw UsageError("layout: unknown product \"" + *product + "\"; the products are " + names);
        }
        if (s.json) {
            s.result = layoutJson(*file, *product);
        } else {
            printLayouts(s.events.out(), *file);
        }
        return kOk;
    });
}

}  // namespace qrv::cli
