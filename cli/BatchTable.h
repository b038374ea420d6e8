#pragma once

#include "core/workflow/BatchFileReport.h"

#include <ostream>
#include <span>

namespace velquor::cli {

// The table for people: file, type, findings and status in aligned columns, then the status
// line of the batch and, when files need attention, a line that counts them.
void printBatchTable(std::ostream& out, std::span<const workflow::BatchFileResult> rows);

// {"batchReports":[{id, url, type, findings, status, needsAttention}...], "fileStatus": ...} on
// one line; url is the file's path.
void writeBatchTableJson(std::ostream& out, std::span<const workflow::BatchFileResult> rows);

}  // namespace velquor::cli
