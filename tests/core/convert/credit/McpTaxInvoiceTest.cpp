#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "convert/credit/McpTaxRecords.h"
#include "support/McpTestSupport.h"

// Manager Cheque withholding-tax records 005 and invoice records 006, their detail tables and views,
// and the fields whose missing number ends a run.
namespace qrv {
namespace {

using test::Blanks;
using test::Cheque;
using test::LineOf;
using test::McpBench;
using test::Pad;
using test::Zeros;

std::string join(const std::vector<std::string>& fields) {
    std::string s;
    for (const auto& f : fields) {
        s += f;
    }
    return s;
}

// Record 005 from its fields: item, tax (16), income type, description (80), rate, income (16).
std::string record005(const std::string& sequence, const std::string& item, const std::string& tax16,
                      const std::string& type, const std::string& description, const std::string& rate,
                      const std::string& income16) {
    return join(
        {"005", "00000001", sequence, item, tax16, "    " + type, Pad(description, 80), rate, income16});
}

// A cheque with withholding tax, itemised ("6") with the three item descriptions.
Cheque itemised() {
    return Cheque()
        .with(104, "1")
        .with(444, "6")
        .with(445, Pad("FIRST ITEM", 20))
        .with(465, Pad("SECOND ITEM", 20))
        .with(485, Pad("THIRD ITEM", 30))
        .with(616, Zeros(9))
        .with(625, Zeros(9))
        .with(660, Zeros(9));
}

TEST(McpTax, SingleItemOfAnIncomeType) {
    McpBench b;
    b.source({Cheque().with(104, "1").with(444, "1").with(86, "000003000").with(60, "0000000100000").line(),
              Cheque().with(104, "1").with(444, "2").with(86, "000020000").with(60, "0000000100000").line(),
              Cheque().with(104, "1").with(444, "1").with(86, Zeros(9)).line()});
    b.press();
    const std::vector<std::string> lines = b.upload();
    ASSERT_EQ(lines.size(), 12u);
    // Per cheque: 003, 004, then its 005.
    EXPECT_EQ(lines[3].substr(0, 3), "003");
    EXPECT_EQ(lines[4].substr(0, 3), "004");
    EXPECT_EQ(lines[5], record005("000001", "01", "0000000000030000", "1", "", "03", "0000000001000000"));
    EXPECT_EQ(lines[5].size(), 138u);
    EXPECT_EQ(lines[8], record005("000002", "01", "0000000000200000", "2", "", "20", "0000000001000000"));
    // No tax amount: no record 005, though the cheque carries the flag and one item.
    EXPECT_EQ(lines[9].substr(0, 3), "003");
    EXPECT_EQ(lines[9].substr(61, 1), "Y");
    EXPECT_EQ(lines[9].substr(91, 2), "01");
    EXPECT_EQ(lines[10].substr(0, 3), "004");
    EXPECT_EQ(b.records("005").size(), 2u);
}

TEST(McpTax, ItemisedIncomeNumbersTheWrittenItems) {
    McpBench b;
    b.source({// Item 1 zero, item 2 25.00 on 1,000.00: one record numbered 01, rate 2.5 -> 02.
              itemised().with(625, "000002500").with(647, "0000000100000").line(),
              // Only item 1, item 3 all blanks: field 15 counts the blank item, so "02".
              itemised().with(616, "000003500").with(634, "0000000100000").with(660, Blanks(9)).line(),
              // All three items; item 1 alone would take the whole description.
              itemised()
                  .with(616, "000001000")
                  .with(634, "0000000010000")
                  .with(625, "000000100")
                  .with(647, "0000000010000")
                  .with(660, "000000050")
                  .with(669, "0000000010000")
                  .line()});
    b.press();
    const auto r003 = b.records("003");
    const auto r005 = b.records("005");
    ASSERT_EQ(r003.size(), 3u);
    ASSERT_EQ(r005.size(), 5u);
    EXPECT_EQ(r003[0].substr(91, 2), "01");
    EXPECT_EQ(r005[0],
              record005("000001", "01", "0000000000025000", "6", "SECOND ITEM", "02", "0000000001000000"));
    EXPECT_EQ(r003[1].substr(91, 2), "02");
    EXPECT_EQ(r005[1],
              record005("000002", "01", "0000000000035000", "6", "FIRST ITEM", "04", "0000000001000000"));
    EXPECT_EQ(r003[2].substr(91, 2), "03");
    EXPECT_EQ(r005[2],
              record005("000003", "01", "0000000000010000", "6", "FIRST ITEM", "10", "0000000000100000"));
    EXPECT_EQ(r005[3],
              record005("000003", "02", "0000000000001000", "6", "SECOND ITEM", "01", "0000000000100000"));
    EXPECT_EQ(r005[4],
              record005("000003", "03", "0000000000000500", "6", "THIRD ITEM", "00", "0000000000100000"))
        << "0.5 per cent rounds to the even 0";

    // A single item takes columns 445-514 whole.
    McpBench one;
    one.source({Cheque()
                    .with(104, "1")
                    .with(444, "6")
                    .with(445, Pad("ONE LONG DESCRIPTION OF THE ONLY ITEM", 70))
                    .with(616, "000000700")
                    .with(634, "0000000010000")
                    .with(625, Zeros(9))
                    .with(660, Zeros(9))
                    .line()});
    one.press();
    ASSERT_EQ(one.records("005").size(), 1u);
    EXPECT_EQ(one.records("005")[0].substr(40, 80), Pad("ONE LONG DESCRIPTION OF THE ONLY ITEM", 80));
    EXPECT_EQ(one.records("005")[0].substr(120, 2), "07");
}

TEST(McpTax, RateRoundsHalvesToEven) {
    const auto m = [](const char* text) { return *Money::fromDecimalText(text); };
    EXPECT_EQ(TaxRateText(m("25"), m("1000")), "02");
    EXPECT_EQ(TaxRateText(m("35"), m("1000")), "04");
    EXPECT_EQ(TaxRateText(m("15"), m("1000")), "02");
    EXPECT_EQ(TaxRateText(m("25.01"), m("1000")), "03");
    EXPECT_EQ(TaxRateText(m("0.01"), m("1000")), "00");
    EXPECT_EQ(TaxRateText(m("7"), m("100")), "07");
}

// An invoice line from its columns.
std::string invoiceLine(const std::string& key, const std::string& number, const std::string& amount,
                        const std::string& vat = "000000700", const std::string& charge = "-00000050",
                        const std::string& wht = "000000300") {
    return LineOf({{1, Pad(key, 26)},
                   {27, number},
                   {52, amount},
                   {65, "2026/11/30"},
                   {125, "PO-778"},
                   {140, vat},
                   {149, charge},
                   {158, wht}});
}

Cheque withInvoices(const std::string& key, const std::string& count) {
    return Cheque().with(1, Pad(key, 26)).with(129, "1").with(130, count).with(60, "0000000001050");
}

TEST(McpInvoice, SignedAmountsAndEveryField) {
    McpBench b;
    b.invoices({invoiceLine("K1", "INV-0001", "-000000001050")});
    b.source({withInvoices("K1", "001").line()});
    b.press();
    const auto r006 = b.records("006");
    ASSERT_EQ(r006.size(), 1u);
    EXPECT_EQ(r006[0], join({"006", "00000001", "000001", "000001", Pad("INV-0001", 15),
                             "-" + Zeros(10) + "10500", "20261130", Blanks(70), Pad("PO-778", 15),
                             "0000000000007000", "-" + Zeros(12) + "500", "0000000000003000", "T"}));
    EXPECT_EQ(r006[0].size(), 196u);
    const auto r003 = b.records("003");
    EXPECT_EQ(r003[0].substr(62, 1), "Y");
    EXPECT_EQ(r003[0].substr(109, 6), "000001");
    EXPECT_EQ(r003[0].substr(115, 16), "0000000000010500");
}

TEST(McpInvoice, InvoicesOfRejectedChequesAreSkipped) {
    // The rejected cheque's count skips its lines whatever column 129 says.
    for (const std::string flag : {"1", "0"}) {
        McpBench b;
        b.invoices({invoiceLine("K1", "INV-1", "0000000001000"), invoiceLine("K1", "INV-2", "0000000001000"),
                    invoiceLine("K2", "INV-3", "0000000001000"), invoiceLine("K2", "INV-4", "0000000002000"),
                    invoiceLine("K2", "INV-5", "0000000003000")});
        b.source({withInvoices("K1", "002").with(129, flag).with(47, Zeros(13)).line(),
                  withInvoices("K2", "003").line()});
        EXPECT_EQ(b.press().front(), "Reformat data and add to 2026-12-08ACME01_MCP.zip completed");
        const auto r006 = b.records("006");
        ASSERT_EQ(r006.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(r006[i].substr(11, 12), "000001" + std::string("00000") + std::to_string(i + 1));
            EXPECT_EQ(r006[i].substr(23, 15), Pad("INV-" + std::to_string(i + 3), 15));
        }
    }
}

TEST(McpInvoice, KeyMismatchAndMissingInvoiceDataStop) {
    const std::string mismatch = "Invoice file and payment file are missmatch";
    {
        McpBench b;
        b.invoices(
            {invoiceLine("K1", "INV-1", "0000000001000"), invoiceLine("K9", "INV-2", "0000000001000")});
        b.source({Cheque().with(47, Zeros(13)).line(), withInvoices("K1", "002").line(), Cheque().line()});
        EXPECT_EQ(b.press(), std::vector<std::string>{mismatch});
        EXPECT_TRUE(b.events.reports.empty());
        EXPECT_EQ(test::listFolder(b.out),
                  (std::vector<std::string>{"ACME01_MCP_CreditZeroAmountRecord.txt", "chq.txt", "inv.txt"}));
    }
    {
        // An invoice file that ends early has no invoice for the cheque, even a cheque with a blank key.
        McpBench b;
        b.invoices({invoiceLine("", "INV-1", "0000000001000")});
        b.source({withInvoices("", "002").line()});
        EXPECT_EQ(b.press(), std::vector<std::string>{mismatch});
        EXPECT_FALSE(std::filesystem::exists(b.uploadPath()));
    }
    {
        McpBench b;
        b.source({Cheque().line(), withInvoices("K1", "001").line()});
        EXPECT_EQ(b.press(), std::vector<std::string>{"This payment file must have invoice data"});
        EXPECT_EQ(test::listFolder(b.out), std::vector<std::string>{"chq.txt"});
    }
}

TEST(McpDetail, TablesAndViewsHoldTheWrittenCheques) {
    McpBench b;
    b.request.printDetail = true;
    b.invoices({invoiceLine("K1", "INV-1", "-000000001050"), invoiceLine("K1", "INV-2", "0000000002000")});
    b.source({withInvoices("K1", "002")
                  .with(60, "0000000100000")
                  .with(104, "1")
                  .with(444, "1")
                  .with(86, "000003000")
                  .with(95, "000007000")
                  .with(515, "2")
                  .line(),
              itemised()
                  .with(414, "7")
                  .with(616, "000001000")
                  .with(634, "0000000010000")
                  .with(625, "000000100")
                  .with(647, "0000000010000")
                  .line()});
    EXPECT_EQ(b.press().front(), "Reformat data and add to 2026-12-08ACME01_MCP.zip completed");
    ASSERT_EQ(b.events.reports.size(), 1u);
    EXPECT_EQ(b.events.reports[0].layoutFile, "rptMcpDetail.frf");
    EXPECT_EQ(b.variable("PayType"), "Manager Cheque");
    EXPECT_EQ(b.variable("ValueDate"), "08/12/2026");
    EXPECT_EQ(b.variable("Acct"), Pad("1234567896", 25));
    EXPECT_EQ(b.variable("AcctFee"), Pad("1234567896", 25));
    EXPECT_EQ(b.variable("HashCode"), b.last.hash);
    EXPECT_EQ(b.variable("ComId"), "ACME01");

    const auto cheques = b.store.query("SELECT * FROM Mcp_Detail ORDER BY rowid");
    ASSERT_EQ(cheques.size(), 2u);
    EXPECT_EQ(cheques[0].text("ID"), "000001");
    EXPECT_EQ(cheques[0].text("Name"), Pad("JOHN SMITH CO., LTD.", 70)) << "the name as read";
    EXPECT_EQ(cheques[0].text("CAmount"), "1000");
    EXPECT_EQ(cheques[0].text("WhtAmount"), "30");
    EXPECT_EQ(cheques[0].text("VatAmount"), "70");
    EXPECT_EQ(cheques[0].text("InvoiceAmount"), "1000");
    EXPECT_EQ(cheques[0].text("TaxDate"), "01/12/2026");
    EXPECT_EQ(cheques[0].text("TaxAttach"), "000123");
    EXPECT_EQ(cheques[0].text("TaxForm"), "01");
    EXPECT_EQ(cheques[0].text("TaxPaid"), "2");
    EXPECT_EQ(cheques[1].text("TaxForm"), "53");

    const auto wht = b.store.query("SELECT * FROM WhtView ORDER BY CreditId, WhtId");
    ASSERT_EQ(wht.size(), 3u) << "every written tax item joins its code tables";
    EXPECT_EQ(wht[0].text("CreditId"), "000001");
    EXPECT_EQ(wht[0].text("Rate"), "03");
    EXPECT_EQ(wht[0].text("IncomeType"), "1");
    EXPECT_EQ(wht[0].text("IncomeAmount"), "1000");
    EXPECT_EQ(wht[0].text("FORM_TYPE"), "01");
    EXPECT_EQ(wht[0].text("PAY_TYPE"), "2");
    EXPECT_FALSE(wht[0].text("TAX_DESC_EN").empty());
    EXPECT_EQ(wht[2].text("WhtId"), "02");
    EXPECT_EQ(wht[2].text("IncomeDescription"), Pad("SECOND ITEM", 80));
    EXPECT_EQ(wht[2].text("FORM_TYPE"), "53");

    const auto inv = b.store.query("SELECT * FROM InvoiceView ORDER BY InvoiceId");
    ASSERT_EQ(inv.size(), 2u);
    EXPECT_EQ(inv[0].text("InvoiceAmount:1"), "-10.5");
    EXPECT_EQ(inv[0].text("InvoiceDate"), "30/11/2026");
    EXPECT_EQ(inv[0].text("ChargeAmount"), "-0.5");
    EXPECT_EQ(inv[1].text("InvoiceNo"), Pad("INV-2", 15));

    // Every code the sample records carry has its description.
    for (const char* code : {"00", "01", "02", "03", "53"}) {
        EXPECT_TRUE(b.store.lookup("WHT_FORM_TYPE", "FORM_TYPE", code).has_value()) << code;
    }
}

// Runs a press that must end with an unexpected error naming `where`, and checks the clean-up.
void expectUnexpected(McpBench& b, const std::string& where) {
    try {
        b.press();
        ADD_FAILURE() << "no error for " << where;
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(b.uploadPath())) << where;
    EXPECT_FALSE(b.last.wrote(OutputKind::Upload));
    EXPECT_TRUE(b.events.reports.empty());
    for (const std::string& name : test::listFolder(b.out)) {
        EXPECT_EQ(name.find("Temp"), std::string::npos) << name;
        EXPECT_EQ(name.find("up.txt"), std::string::npos) << name;
    }
}

// An amount without a number, where the upload or a detail table takes one, rejects its cheque: it never
// ends the run, with or without "Print detail".
TEST(McpUnexpected, AmountsWithoutANumberRejectTheirCheque) {
    McpBench b;
    b.request.printDetail = true;
    b.invoices({invoiceLine("K1", "INV-1", "00000ABC01000")});
    b.source({itemised().with(625, Blanks(9)).with(647, "0000000010000").line(),
              Cheque().with(47, "00000001000.5").line(), withInvoices("K1", "001").line(), Cheque().line()});
    b.press();
    EXPECT_EQ(test::readFile(b.listing("_CreditAmountInvalidRecord.txt")),
              "LineNo : 1  Column : 625-633   Tax of item 2 less than zero or invalid number\r\n"
              "LineNo : 2  Column : 47-59   Credit amount less than zero or invalid number\r\n"
              "LineNo : 3  Column : 130-132   Invoice line 1, columns 52-64: invalid invoice amount\r\n");
    EXPECT_EQ(b.records("003").size(), 1u);
    EXPECT_TRUE(b.records("006").empty());
}

TEST(McpUnexpected, FieldsWithoutANumberEndTheRun) {
    {
        McpBench b;
        b.source({Cheque().with(47, Zeros(13)).line(), Cheque().with(47, Zeros(13)).with(130, "0A1").line()});
        expectUnexpected(
            b, "chq.txt\" line 2, columns 130-132 (number of invoice lines): \"0A1\" is not a number");
        EXPECT_FALSE(std::filesystem::exists(b.listing("_CreditZeroAmountRecord.txt")))
            << "an interrupted run puts no listing in place";
    }
    {
        McpBench b;
        b.source({Cheque().with(601, " 12A ").line()});
        expectUnexpected(b, "chq.txt\" line 1, columns 601-605 (pickup branch): \" 12A \" is not a number");
    }
    {
        McpBench b;
        b.source({Cheque().line(), Cheque().with(104, "1").with(86, "000001000").with(60, Zeros(13)).line()});
        expectUnexpected(b, "chq.txt\" line 2, columns 60-72 (invoice amount): the income");
    }
    for (const char* invoices : {"no-such-invoices.txt", "invoice-folder"}) {
        McpBench b;
        std::filesystem::create_directory(b.out / "invoice-folder");  // a folder is no invoice file
        b.request.invoicePath = (b.out / invoices).string();
        b.source({withInvoices("K1", "001").line()});
        expectUnexpected(b, std::string(invoices) + "\": it does not exist");
    }
}

}  // namespace
}  // namespace qrv
