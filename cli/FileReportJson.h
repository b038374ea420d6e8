#pragma once

#include "core/files/FileMetadataReport.h"

#include <ostream>

namespace velquor::cli {

// The file report as one JSON object on one line: the records' field names, the derived
// properties containsLocation and containsPersonalMetadata, raw values for enumerations, and
// null for a missing pixel size.
void writeFileReportJson(std::ostream& out, const files::FileMetadataReport& report);

}  // namespace velquor::cli
