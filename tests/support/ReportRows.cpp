#include "tests/support/ReportRows.h"

#include "core/text/base/Utf.h"

#include <algorithm>

namespace velquor::testing {

std::ostream& operator<<(std::ostream& out, const ReportRow& row) {
    return out << text::encodeUtf8(row.section) << " / " << text::encodeUtf8(row.name) << " = "
               << text::encodeUtf8(row.value);
}

std::vector<ReportRow> reportRows(const std::vector<files::FileMetadataEntry>& entries) {
    std::vector<ReportRow> rows;
    for (const auto& entry : entries) rows.push_back({entry.section, entry.name, entry.value});
    return rows;
}

std::vector<ReportRow> reportRows(const files::FileMetadataReport& report) { return reportRows(report.entries); }

const files::FileMetadataEntry* entryWithId(const files::FileMetadataReport& report, std::u16string_view id) {
    const auto found = std::find_if(report.entries.begin(), report.entries.end(),
                                    [&](const files::FileMetadataEntry& entry) { return entry.id == id; });
    return found == report.entries.end() ? nullptr : &*found;
}

}  // namespace velquor::testing
