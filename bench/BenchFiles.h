#pragma once

// Valid source files of every product, of any size, built from the products' column layouts: the
// benchmark writes them at 10,000 to 1,000,000 lines and the output pin test at a few hundred. Every
// line is accepted by its product, carries a name, and differs from its neighbours; the same arguments
// always give the same bytes. Lines end in CR LF.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qrv::bench {

// A calendar day; `plusOne` for Media Clearing, whose effective date lies in the future.
struct Day {
    int y = 2026, m = 12, d = 8;

    Day plusOne() const {
        static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        const int last = m == 2 && leap ? 29 : days[m - 1];
        if (d < last) {
            return {y, m, d + 1};
        }
        return m == 12 ? Day{y + 1, 1, 1} : Day{y, m + 1, 1};
    }
    std::string ddmmyy() const { return two(d) + two(m) + two(y % 100); }
    std::string yymmdd() const { return two(y % 100) + two(m) + two(d); }
    std::string ddmmyyyy() const { return two(d) + two(m) + std::to_string(y); }
    std::string slashed() const { return std::to_string(y) + "/" + two(m) + "/" + two(d); }

  private:
    static std::string two(int v) { return std::string(1, char('0' + v / 10 % 10)) + char('0' + v % 10); }
};

// `v` zero-filled on the left to `width` digits.
inline std::string digits(std::uint64_t v, size_t width) {
    std::string s = std::to_string(v);
    if (s.size() > width) {
        throw std::invalid_argument("value " + s + " does not fit " + std::to_string(width) + " digits");
    }
    return std::string(width - s.size(), '0') + s;
}

// Places `text` at the 1-based column `col`, blank-filling the line up to it.
inline void put(std::string& line, size_t col, std::string_view text) {
    if (line.size() < col - 1 + text.size()) {
        line.resize(col - 1 + text.size(), ' ');
    }
    line.replace(col - 1, text.size(), text);
}

// A ten-digit account whose last digit is the check digit (weights 4 3 2 7 6 5 4 3 2, 11-complement).
inline std::string account(std::uint64_t i) {
    static const int weights[] = {4, 3, 2, 7, 6, 5, 4, 3, 2};
    const std::string nine = std::to_string(100000000 + (i * 7919) % 900000000);
    int sum = 0;
    for (int k = 0; k < 9; ++k) {
        sum += (nine[k] - '0') * weights[k];
    }
    const int r = sum % 10;
    return nine + char('0' + (r == 0 ? 0 : 10 - r));
}

inline std::string name(std::uint64_t i) {
    return "PAYEE NUMBER " + std::to_string(i) + " SURNAME";
}

// Writes lines with CR LF.
class Out {
  public:
    explicit Out(const std::string& path) : f_(path, std::ios::binary) {
        if (!f_) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    void line(const std::string& s) { f_ << s << "\r\n"; }

  private:
    std::ofstream f_;
};

// Direct Credit (long-amount layout): header with company 16-45, effective date ddmmyy 48-53, record
// count 54-58; details with account 1-10, amount 18-28, name 29-88.
inline void directCredit(const std::string& path, std::uint64_t n, const Day& today) {
    Out o(path);
    std::string header = "H01BENCH000001 ";
    put(header, 16, "BENCH TRADING CO LTD");
    put(header, 48, today.ddmmyy());
    put(header, 54, digits(n % 100000, 5));
    o.line(header);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string l = account(i) + "0000000" + digits(1 + (i * 37) % 99999999, 11);
        put(l, 29, name(i));
        put(l, 88, " ");
        o.line(l);
    }
}

// Media Clearing: header "101", effective date ddmmyyyy 31-38 (tomorrow), record count 41-46, company
// 53-82; details "102", receiving bank 10-12 and branch 13-16 (pairs of the sample reference data),
// credit account 17-27, sending bank and branch 28-34, debit account 36-45, service type 54-55, amount
// 58-69, receiver id 190-199, receiver name 200-222.
inline void mediaClearing(const std::string& path, std::uint64_t n, const Day& today) {
    static const char* const kBankBranch[] = {"0020001", "0020002", "0040001", "0060003",
                                              "0110002", "0140001", "0170004", "0200001"};
    Out o(path);
    std::string header;
    put(header, 1, "101");
    put(header, 31, today.plusOne().ddmmyyyy());
    put(header, 41, digits(n % 1000000, 6));
    put(header, 53, "BENCH TRADING CO LTD");
    put(header, 82, " ");
    o.line(header);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string l;
        put(l, 1, "102");
        put(l, 4, digits(i % 1000000, 6));
        put(l, 10, kBankBranch[i % 8]);
        put(l, 17, "0" + account(i + 7));
        put(l, 28, "0020123");
        put(l, 36, "1234567896");
        put(l, 54, "0" + std::to_string(1 + i % 6));
        put(l, 58, digits(1 + (i * 37) % 9999999, 12));
        put(l, 190, digits(i, 10));
        put(l, 200, name(i).substr(0, 23));
        put(l, 222, " ");
        o.line(l);
    }
}

// Manager Cheque: one 700-character cheque line per payee (key 1-26, debit account 27-36, due date
// 37-46, amount 47-59, tax 60-72 ...), each with one invoice (key 1-26, invoice 27-51, amount 52-64,
// date 65-74, three tax amounts 140-166) in the invoice file.
inline void managerCheque(const std::string& path, const std::string& invoicePath, std::uint64_t n,
                          const Day& today) {
    Out o(path);
    Out inv(invoicePath);
    for (std::uint64_t i = 0; i < n; ++i) {
        const std::string key = "PAYKEY-" + digits(i, 9);
        const std::string amount = digits(100000 + (i * 37) % 9999999, 13);
        std::string l(700, ' ');
        put(l, 1, key);
        put(l, 27, "1234567896");
        put(l, 37, today.slashed());
        put(l, 47, amount);
        put(l, 60, amount);
        put(l, 86, "000003000");
        put(l, 95, std::string(9, '0'));
        put(l, 104, "1");
        put(l, 105, "REF-" + digits(i, 9));
        put(l, 127, "1");
        put(l, 128, "1");
        put(l, 129, "1");
        put(l, 130, "001");
        put(l, 133, "PAYEE" + digits(i, 9));
        put(l, 148, name(i));
        put(l, 218, std::to_string(1 + i % 999) + " MAIN ROAD");
        put(l, 288, "SILOM");
        put(l, 338, "BANGKOK 10500");
        put(l, 404, "3101234567");
        put(l, 414, "1");
        put(l, 415, today.slashed());
        put(l, 425, "RUN" + digits(i, 11));
        put(l, 439, "  123");
        put(l, 444, "1");
        put(l, 515, "1");
        put(l, 516, "FREE TEXT " + std::to_string(i));
        o.line(l);
        std::string v;
        put(v, 1, key);
        put(v, 27, "INV-" + digits(i, 9));
        put(v, 52, amount);
        put(v, 65, today.slashed());
        put(v, 140, std::string(27, '0'));
        inv.line(v);
    }
}

// Direct Debit 100M: control record (record id 1-9, company code 10-15, name 16-45, effective date
// 48-53, record count 54-58, total 59-69); details (account 1-10, date 11-16, sign 17, amount 18-28, name
// and reference 31-80). Every debit is 1.00 baht so that the total fits its eleven digits.
inline void directDebit100M(const std::string& path, std::uint64_t n, const Day& today) {
    Out o(path);
    std::string c = "H00000001";
    put(c, 10, "DDR100");
    put(c, 16, "BENCH TRADING CO LTD");
    put(c, 48, today.ddmmyy());
    put(c, 54, digits(n, 5));
    put(c, 59, digits(100 * n, 11));
    o.line(c);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string l = account(i) + today.ddmmyy() + "1" + digits(100, 11);
        put(l, 31, name(i) + " REF" + digits(i, 7));
        put(l, 80, " ");
        o.line(l);
    }
}

// Direct Debit (HASH), long-amount layout: control record (blanks 1-8, term "M" 9, company code
// 10-15, name 16-45, apply "C" 46, status "A" 47, date 48-53, record count 54-58, total 59-69, media
// "I" 70); details (account 1-10, date 11-16, sign 17, amount 18-28, name 31-78), 1.00 baht each.
inline void directDebitHash(const std::string& path, std::uint64_t n, const Day& today) {
    Out o(path);
    std::string c(8, ' ');
    c += "M012345";
    put(c, 16, "BENCH TRADING CO LTD");
    put(c, 46, "CA" + today.ddmmyy() + digits(n, 5) + digits(100 * n, 11) + "I");
    o.line(c);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string l = account(i) + today.ddmmyy() + "0" + digits(100, 11);
        put(l, 31, name(i));
        put(l, 78, " ");
        o.line(l);
    }
}

// Return comparison: the sent 100M file (control: blanks 1-8, "M", company code, name 16-45, "CA",
// date 48-53, count 54-58, total 59-69; details: account 1-10, date, sign, amount 18-28, status 29-30,
// reference 31-47, rest 48-78) and the host's return file (header "001" with the value date yymmdd at
// 260-265; details "002" with account 10-34, reference 35-51, amount 269-279, amount in thousandths
// 281-296, result and reason 314-317; trailer "999" with count 4-9 and total in thousandths 10-25).
inline void returnComparison(const std::string& sentPath, const std::string& returnPath, std::uint64_t n,
                             const Day& today) {
    Out s(sentPath);
    Out r(returnPath);
    std::string c(8, ' ');
    c += "MABC123";
    put(c, 16, "BENCH TRADING CO LTD");
    put(c, 46, "CA" + today.ddmmyy() + digits(n, 5) + digits(100 * n, 11));
    put(c, 78, " ");
    s.line(c);
    std::string h;
    put(h, 1, "001HEADER");
    put(h, 260, today.yymmdd());
    put(h, 320, " ");
    r.line(h);
    static const char* const kResults[] = {"S", "V", "P", "F03"};
    for (std::uint64_t i = 0; i < n; ++i) {
        const std::string ref = "SENTREF" + digits(i, 10);
        std::string l = account(i) + today.ddmmyy() + "0" + digits(100, 11) + "99" + ref;
        put(l, 48, name(i));
        put(l, 78, " ");
        s.line(l);
        std::string d;
        put(d, 1, "002");
        put(d, 10, account(i));
        put(d, 35, "RETREF" + digits(i, 11));
        put(d, 269, digits(100, 11));
        put(d, 281, digits(1000, 16));
        put(d, 314, kResults[i % 4]);
        put(d, 320, " ");
        r.line(d);
    }
    std::string t;
    put(t, 1, "999" + digits(n, 6) + digits(1000 * n, 16));
    put(t, 320, " ");
    r.line(t);
}

// Convert 100M input: header with the value date yymmdd at 189-194 (200 characters); details of 268
// (amount 11-21, account 23-32, "F" 221, name and rest 222-268); trailer "599" with count 7-11 and total
// 17-27.
inline void convert100M(const std::string& path, std::uint64_t n, const Day& today) {
    Out o(path);
    std::string h;
    put(h, 1, "HDR");
    put(h, 189, today.yymmdd());
    put(h, 200, " ");
    o.line(h);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::string l;
        put(l, 1, digits(i, 10));
        put(l, 11, digits(100, 11));
        put(l, 23, account(i));
        put(l, 221, "F" + name(i));
        put(l, 268, " ");
        o.line(l);
    }
    std::string t;
    put(t, 1, "599");
    put(t, 7, digits(n, 5));
    put(t, 17, digits(100 * n, 11));
    put(t, 30, " ");
    o.line(t);
}

}  // namespace qrv::bench
