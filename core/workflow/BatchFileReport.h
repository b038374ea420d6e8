#pragma once

#include "core/workflow/FileInspectionOutcome.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velquor::workflow {

// A batch never holds more supported files than this, however large the folder.
inline constexpr std::size_t batchFileLimit = 200;

// One row of a batch table.
struct BatchFileReport {
    std::string id;  // a fresh UUID per row, for identity only
    std::filesystem::path url;
    std::u16string type;    // the report's type description; "-" when inspection failed
    std::int64_t findings;  // entries plus provenance evidence; 0 when inspection failed
    std::u16string status;  // "Credentials", "Possible provenance", "OK", or the error's message
    // Whether a batch copy writes this file's privacy copy: it was inspected, some family writes
    // copies of it, and it carries no content credentials (canOfferPrivacyCopy).
    bool offersPrivacyCopy = false;
    // The verified privacy copy a batch copy wrote; the status then names it.
    std::optional<std::filesystem::path> outputURL = std::nullopt;

    friend bool operator==(const BatchFileReport&, const BatchFileReport&) = default;
};

// A row whose privacy copy a batch copy still has to write.
bool awaitsPrivacyCopy(const BatchFileReport& row);

BatchFileReport batchReport(const std::filesystem::path& file, const FileInspectionOutcome& outcome);

// The row of one file: inspectionOutcome, then the row built from it.
BatchFileReport batchReport(const std::filesystem::path& file);

// A row with what the workflow knows about its file beyond the table's columns.
struct BatchFileResult {
    BatchFileReport report;
    bool failed;          // the file could not be inspected; the status says why
    bool needsAttention;  // fileNeedsAttention held for its report

    friend bool operator==(const BatchFileResult&, const BatchFileResult&) = default;
};

BatchFileResult batchFileResult(const std::filesystem::path& file);

}  // namespace velquor::workflow
