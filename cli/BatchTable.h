#pragma once

#include "core/workflow/BatchFileReport.h"

#include <ostream>
#include <span>
#include <string_view>

namespace velquor::cli {

// A batch row with what the command line also needs to know about it.
struct BatchTableRow {
    files::BatchFileReport report;
    bool failed;          // the file could not be inspected; the status says why
    bool needsAttention;  // fileNeedsAttention held for its report
};

// The table for people: file, type, findings and status in aligned columns, then the status
// line of the batch and, when files need attention, a line that counts them.
void printBatchTable(std::ostream& out, std::span<const BatchTableRow> rows);

// {"batchReports":[{id, url, type, findings, status, needsAttention}...], "fileStatus": ...} on
// one line; url is the file's path.
void writeBatchTableJson(std::ostream& out, std::span<const BatchTableRow> rows);

}  // namespace velquor::cli
