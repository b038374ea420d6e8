#include "core/workflow/BatchFileReport.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"

#include <exception>

namespace velquor::files {

namespace {

std::u16string statusOf(const FileMetadataReport& report) {
    if (report.hasContentCredentialsSignal) return u"Credentials";
    if (!report.provenanceEvidence.empty()) return u"Possible provenance";
    return u"OK";
}

std::u16string asText(std::string_view count) { return {count.begin(), count.end()}; }

}  // namespace

FileInspectionOutcome inspectionOutcome(const std::filesystem::path& file) {
    try {
        return inspectReport(file);
    } catch (const std::exception& error) {
        // System errors carry paths, which need not be UTF-8; nothing of them may be lost.
        return metadataText(error.what());
    } catch (...) {
        return metadataText(FileSanitizerError::message(FileSanitizerError::Case::unreadableFile));
    }
}

BatchFileReport batchReport(const std::filesystem::path& file, const FileInspectionOutcome& outcome) {
    BatchFileReport row{FileExportSafety::randomUUIDString(), file, u"-", 0, {}};
    if (const auto* report = std::get_if<FileMetadataReport>(&outcome)) {
        row.type = report->typeDescription;
        row.findings = static_cast<std::int64_t>(report->entries.size() + report->provenanceEvidence.size());
        row.status = statusOf(*report);
    } else {
        row.status = std::get<std::u16string>(outcome);
    }
    return row;
}

BatchFileReport batchReport(const std::filesystem::path& file) { return batchReport(file, inspectionOutcome(file)); }

std::u16string batchStatus(std::size_t rowCount) {
    if (rowCount == 0) return u"No supported files found.";
    const auto count = u"Inspected " + asText(std::to_string(rowCount));
    if (rowCount == batchFileLimit) return count + u" files (batch safety limit).";
    return count + (rowCount == 1 ? u" file." : u" files.");
}

}  // namespace velquor::files
