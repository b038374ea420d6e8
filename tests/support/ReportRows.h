#pragma once

#include "core/files/FileMetadataReport.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::testing {

// A report entry as tests compare whole reports: its section, name and value, printed as UTF-8
// when a comparison fails.
struct ReportRow {
    std::u16string section;
    std::u16string name;
    std::u16string value;
    friend bool operator==(const ReportRow&, const ReportRow&) = default;
};

std::ostream& operator<<(std::ostream& out, const ReportRow& row);

std::vector<ReportRow> reportRows(const std::vector<files::FileMetadataEntry>& entries);
std::vector<ReportRow> reportRows(const files::FileMetadataReport& report);

// The entry with this id, or null.
const files::FileMetadataEntry* entryWithId(const files::FileMetadataReport& report, std::u16string_view id);

}  // namespace velquor::testing
