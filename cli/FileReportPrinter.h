#pragma once

#include "core/files/FileMetadataReport.h"

#include <ostream>

namespace velquor::cli {

// The file report for people: name, type, size and pixels, the provenance notices, then the
// entries under their section headings. Inspected content is made terminal-safe.
void printFileReport(std::ostream& out, const files::FileMetadataReport& report);

}  // namespace velquor::cli
