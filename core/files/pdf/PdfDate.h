#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velquor::files {

// A PDF date ("D:YYYYMMDDHHmmSSOHH'mm'", every part after the year optional, the "D:" too) as
// an ISO 8601 date-time in UTC, such as 2024-03-01T09:30:00Z. Nothing when the text is not a
// valid PDF date.
std::optional<std::string> isoDateFromPdfDate(std::string_view pdfDate);

}  // namespace velquor::files
