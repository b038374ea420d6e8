#include "core/workflow/FileInspectionOutcome.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"

#include <exception>

namespace velquor::workflow {

FileInspectionOutcome inspectionOutcome(const std::filesystem::path& file) {
    try {
        return files::inspectReport(file);
    } catch (const std::exception& error) {
        // System errors carry paths, which need not be UTF-8; nothing of them may be lost.
        return files::metadataText(error.what());
    } catch (...) {
        return files::metadataText(files::FileSanitizerError::message(files::FileSanitizerError::Case::unreadableFile));
    }
}

}  // namespace velquor::workflow
