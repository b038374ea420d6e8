#include "core/workflow/BatchFileReport.h"

#include "core/files/FileExportSafety.h"
#include "core/workflow/FileAttention.h"
#include "core/workflow/FileReadiness.h"
#include "core/workflow/StatusTexts.h"

namespace velquor::workflow {

namespace {

std::u16string statusOf(const files::FileMetadataReport& report) {
    if (report.hasContentCredentialsSignal) return std::u16string(credentialsRowStatus);
    if (!report.provenanceEvidence.empty()) return std::u16string(possibleProvenanceRowStatus);
    return std::u16string(okRowStatus);
}

}  // namespace

BatchFileReport batchReport(const std::filesystem::path& file, const FileInspectionOutcome& outcome) {
    BatchFileReport row{files::FileExportSafety::randomUUIDString(), file, u"-", 0, {}, false, std::nullopt};
    if (const auto* report = std::get_if<files::FileMetadataReport>(&outcome)) {
        row.type = report->typeDescription;
        row.findings = static_cast<std::int64_t>(report->entries.size() + report->provenanceEvidence.size());
        row.status = statusOf(*report);
        row.offersPrivacyCopy = canOfferPrivacyCopy(file, *report);
    } else {
        row.status = std::get<std::u16string>(outcome);
    }
    return row;
}

bool awaitsPrivacyCopy(const BatchFileReport& row) { return row.offersPrivacyCopy && !row.outputURL; }

BatchFileReport batchReport(const std::filesystem::path& file) { return batchReport(file, inspectionOutcome(file)); }

BatchFileResult batchFileResult(const std::filesystem::path& file) {
    const auto outcome = inspectionOutcome(file);
    const auto* report = std::get_if<files::FileMetadataReport>(&outcome);
    return {batchReport(file, outcome), report == nullptr, report != nullptr && fileNeedsAttention(file, *report)};
}

}  // namespace velquor::workflow
