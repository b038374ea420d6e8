#include "core/workflow/PrivacyCopyOutcome.h"

#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/workflow/FileSelection.h"
#include "core/workflow/StatusTexts.h"

#include <exception>

namespace velquor::workflow {

PrivacyCopyOutcome exportPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (isExistingFolder(source)) return {source, std::nullopt, std::u16string(folderExportRefusal)};
    try {
        files::createPrivacyCopy(source, destination);
        return {source, destination, exportFinishedStatus(destination)};
    } catch (const std::exception& error) {
        // System errors carry paths, which need not be UTF-8; nothing of them may be lost.
        return {source, std::nullopt, files::metadataText(error.what())};
    }
}

}  // namespace velquor::workflow
