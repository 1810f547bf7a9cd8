#pragma once

#include <string>

// Direct Debit (100M): a control record, then one detail record per account to debit. The file becomes an
// upload file only when it holds no error at all; every error found is a row of ErrorDirect100M.
namespace qrv {

// The company field of the header record as the reports show it: the company id blank-filled to 12.
std::string V5CorpText(const std::string& companyId);

}  // namespace qrv
