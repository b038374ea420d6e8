#include "core/workflow/FileAttention.h"

#include "core/files/InspectorRegistry.h"

namespace velquor::workflow {

bool fileNeedsAttention(const std::filesystem::path& file, const files::FileMetadataReport& report) {
    return !report.provenanceEvidence.empty() || files::failsPrivacyVerification(file, report);
}

}  // namespace velquor::workflow
