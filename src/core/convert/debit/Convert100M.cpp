#include "convert/debit/Convert100M.h"

#include "convert/FieldLimits.h"
#include "convert/RequestFault.h"

#include <algorithm>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/OutputNames.h"
#include "convert/RunCommit.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"

namespace qrv {

using namespace layout;

namespace {

namespace fs = std::filesystem;

constexpr size_t kCopyBlock = 1 << 16;

// The refusal of a file that is not one to convert, saying what it lacks.
std::string notTo100M(const fs::path& source, const std::string& lacking) {
    return "The file \"" + cp874::sanitizeUtf8(source.string()) + "\" has " + lacking +
           ". It is not a file to convert to 100M: nothing was written";
}

// A control record begins with eight blanks; every other record is a detail record.
bool isControlRecord(std::string_view record) {
    return record.starts_with(std::string_view("        "));
}

}  // namespace

std::string ConvertResultCode(std::string_view letter, const std::string& previous) {
    if (letter == "S") {
        return "00";
    }
    if (letter == "F") {
        return "01";
    }
    return previous;
}

namespace {

// The output: the control records, then the others, with the last one's line end left off; it replaces
// the destination only when whole.
AtomicFile joined(WorkFile& controls, WorkFile& details, const fs::path& destination, Services& services) {
    const std::uint64_t total = controls.writer().size() + details.writer().size();
    controls.close();
    details.close();
    const std::uint64_t keep = total >= 2 ? total - 2 : 0;
    AtomicFile output(destination);
    std::uint64_t copied = 0;
    for (const WorkFile* part : {&controls, &details}) {
        platform::readBlocks(part->path(), kCopyBlock, [&](std::string_view block) {
            const std::uint64_t take = std::min<std::uint64_t>(block.size(), keep - copied);
            if (take == 0) {
                return;
            }
            output.writer().write(block.substr(0, take));
            copied += take;
            services.checkCancelled();
            services.events.setProgress(static_cast<int>((copied * 200 + keep) / (2 * keep)));
        });
    }
    return output;
}

// The company code in its code page 874 form, or nothing when it is refused (the message shown).
std::optional<std::string> checkedCompanyCode(const Convert100MRequest& request, Services& services,
                                              Convert100MResult& result) {
    if (request.companyCode.empty()) {
        services.message("Please Input Company Code");
        result.refuse(RequestField::CompanyCode);
        return std::nullopt;
    }
    const std::optional<std::string> companyCode = cp874::fromUtf8(request.companyCode);
    if (!companyCode) {
        services.message("The company code holds a character that code page 874 cannot write");
        return std::nullopt;
    }
    // A shorter or longer code would move every field after it.
    if (static_cast<int>(companyCode->size()) != ddr::kCompanyCode.width()) {
        services.message("The company code \"" + request.companyCode + "\" does not fit its field of " +
                         std::to_string(ddr::kCompanyCode.width()) + " characters");
        result.refuse(RequestField::CompanyCode);
        return std::nullopt;
    }
    return companyCode;
}

// Last of the checks: the converted file may not replace the source, nor a file of the data folder.
bool destinationAllowed(const fs::path& destination, const fs::path& source, Services& services) {
    if (const auto refusal = overwritesInput(destination, source, "source")) {
        services.message(*refusal);
        return false;
    }
    if (const auto refusal = outputCollision(destination, {}, services.store.dataFolder())) {
        services.message(*refusal);
        return false;
    }
    return true;
}

// The converted records as they are made, in input order: the control records (a record that starts
// with eight blanks, whichever line it was made from) to `controls`, every other record to `details`;
// each record at its layout's width (the columns an input line lacks read as blanks). The date is the
// same in every record: it is part of the defaults.
struct ConvertedRecords {
    std::int64_t records = 0;
    bool summary = false;  // a summary line was read: the file has its control record
};

ConvertedRecords convertRecords(SourceLine& fields, LineReader& input, const std::string& companyCode,
                                const std::string& valueDate, WorkFile& controls, WorkFile& details) {
    RecordWriter control(kConvertedControl);
    control.text(ddr::kTermPayment, "M");
    control.text(ddr::kCompanyCode, companyCode);
    control.text(ddr::kApplyCode, "C");
    control.text(ddr::kStatus, "A");
    control.text(ddr::kEffectiveDate, valueDate);
    control.keepAsDefaults();
    RecordWriter detail(kConvertedDetail);
    detail.text(ddr::kSign, "0");
    detail.text(ddr::kDetailDate, valueDate);
    detail.keepAsDefaults();
    std::string code;
    ConvertedRecords made;
    while (fields.next(input)) {
        RecordWriter* record = &detail;
        if (fields.code(c100m::kSummaryCode)) {
            made.summary = true;
            record = &control;
            control.reset();
            control.text(ddr::kTotalRecord, fields[c100m::kDebitCount]);
            control.text(ddr::kTotalAmount, fields[c100m::kTotalAmount]);
        } else {
            code = ConvertResultCode(fields[c100m::kResult], code);
            detail.reset();
            detail.text(ddr::kAccount, fields[c100m::kAccount]);
            detail.text(ddr::kAmount, fields[c100m::kAmount]);
            detail.text(c100m::kResultCode, code);
            detail.text(c100m::kConvertedRemainder, fields.require(fields.text(c100m::kRemainder)));
        }
        const std::string& text = record->record();
        (isControlRecord(text) ? controls : details).writer().writeLine(text);
        ++made.records;
    }
    return made;
}

Convert100MResult convert(const Convert100MRequest& request, Services& services) {
    Convert100MResult result;
    const fs::path& source = request.sourcePath;
    const fs::path& destination = request.destinationPath;
    LineReader input(source);
    SourceLine fields(source, SourceFile::Convert100M);
    if (!fields.next(input)) {
        fields.read({}, 1);
    }
    // The value date, yymmdd in the header, goes into every record as ddmmyy.
    const DateParts date = fields.dateParts(c100m::kValueDate);
    const std::string valueDate = date.day + date.month + date.year.substr(2);
    const std::optional<std::string> companyCode = checkedCompanyCode(request, services, result);
    if (!companyCode) {
        return result;
    }
    // A file of another layout (a Direct Credit file, say) would make a "100M file" without a control
    // record: the header's value date must be there.
    if (fields.code(c100m::kSummaryCode) || !fields.date(c100m::kValueDate)) {
        services.message(notTo100M(source, "no header line: line 1 holds no value date (yymmdd) in columns " +
                                               columnsText(c100m::kValueDate)));
        result.refuse(RequestField::Source);
        return result;
    }
    if (!destinationAllowed(destination, source, services)) {
        return result;
    }
    RunCommit commit(services, RunCommit::Tables::Untouched);
    WorkFile controls = workFileFor(destination, "Temp1");
    WorkFile details = workFileFor(destination, "Temp2");
    const ConvertedRecords made = convertRecords(fields, input, *companyCode, valueDate, controls, details);
    if (!made.summary) {
        // Without it the file would hold no control record.
        services.message(notTo100M(source, "no summary line: no line holds the record type 599 in columns " +
                                               columnsText(c100m::kSummaryCode)));
        result.refuse(RequestField::Source);
        return result;
    }
    result.records = made.records;
    commit.outputs().add(CommitStep::Upload, joined(controls, details, destination, services));
    commit.tellAfter("Convert 100 Million Complete");
    commit.commit();
    result.outcome = Outcome::Written;
    result.written.push_back({OutputKind::Converted, destination});
    return result;
}

}  // namespace

std::optional<RequestFault> requestFault(const Convert100MRequest& request) {
    return FirstTooLong({{RequestField::CompanyCode, request.companyCode, FieldLimits::companyCode}});
}

Convert100MResult convertTo100M(const Convert100MRequest& request, Services& services) {
    if (const std::optional<RequestFault> fault = requestFault(request)) {
        Convert100MResult result;
        result.refuse(fault->field);
        return result;
    }
    try {
        return convert(request, services);
    } catch (const SourceRefusal& refusal) {
        services.message(refusal.what());
        Convert100MResult result;
        result.refuse(RequestField::Source);
        return result;
    }
}

}  // namespace qrv
