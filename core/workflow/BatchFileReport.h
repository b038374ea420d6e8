#pragma once

#include "core/files/FileMetadataReport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

namespace velquor::files {

// A batch never holds more supported files than this, however large the folder.
inline constexpr std::size_t batchFileLimit = 200;

// One row of a batch table.
struct BatchFileReport {
    std::string id;  // a fresh UUID per row, for identity only
    std::filesystem::path url;
    std::u16string type;    // the report's type description; "-" when inspection failed
    std::int64_t findings;  // entries plus provenance evidence; 0 when inspection failed
    std::u16string status;  // "Credentials", "Possible provenance", "OK", or the error's message

    friend bool operator==(const BatchFileReport&, const BatchFileReport&) = default;
};

// What inspecting one file gave: its report, or the message of whatever stopped it.
using FileInspectionOutcome = std::variant<FileMetadataReport, std::u16string>;

// Runs the inspection dispatch and never throws for the file's sake: every failure, a system
// error included, becomes its message.
FileInspectionOutcome inspectionOutcome(const std::filesystem::path& file);

BatchFileReport batchReport(const std::filesystem::path& file, const FileInspectionOutcome& outcome);

// The row of one file: inspectionOutcome, then the row built from it.
BatchFileReport batchReport(const std::filesystem::path& file);

// The status line of a finished batch: "No supported files found.", "Inspected 200 files (batch
// safety limit)." when the batch is full, otherwise "Inspected 3 files." ("1 file" for one).
std::u16string batchStatus(std::size_t rowCount);

}  // namespace velquor::files
