#include "core/workflow/PrivacyCopyOutcome.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/workflow/FileSelection.h"
#include "core/workflow/PrivacyCopyDestination.h"
#include "core/workflow/StatusTexts.h"

#include <exception>

namespace velquor::workflow {

namespace {

PrivacyCopyOutcome folderRefusal(const std::filesystem::path& source) {
    return {source, std::nullopt, std::u16string(folderExportRefusal)};
}

// System errors carry paths, which need not be UTF-8; nothing of them may be lost.
PrivacyCopyOutcome failure(const std::filesystem::path& source, const std::exception& error) {
    return {source, std::nullopt, files::metadataText(error.what())};
}

PrivacyCopyOutcome created(const std::filesystem::path& source, const std::filesystem::path& copy) {
    return {source, copy, exportFinishedStatus(copy)};
}

bool isTakenName(const files::FileSanitizerError& error) {
    return error.errorCase() == files::FileSanitizerError::Case::destinationExists;
}

}  // namespace

PrivacyCopyOutcome exportPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (isExistingFolder(source)) return folderRefusal(source);
    try {
        files::createPrivacyCopy(source, destination);
        return created(source, destination);
    } catch (const std::exception& error) {
        return failure(source, error);
    }
}

PrivacyCopyOutcome exportPrivacyCopyUnderFreeName(const std::filesystem::path& source,
                                                  const std::filesystem::path& firstChoice,
                                                  const std::function<std::filesystem::path()>& nextFreeName) {
    if (isExistingFolder(source)) return folderRefusal(source);
    auto destination = firstChoice;
    for (int attempt = 1;; ++attempt) {
        try {
            files::createPrivacyCopy(source, destination);
            return created(source, destination);
        } catch (const files::FileSanitizerError& error) {
            if (!isTakenName(error) || attempt == automaticNameAttempts) return failure(source, error);
        } catch (const std::exception& error) {
            return failure(source, error);
        }
        destination = nextFreeName();
    }
}

PrivacyCopyOutcome exportPrivacyCopyNextToSource(const std::filesystem::path& source) {
    const auto nextFreeName = [&source] { return uniquePrivacyDestination(source); };
    return exportPrivacyCopyUnderFreeName(source, nextFreeName(), nextFreeName);
}

}  // namespace velquor::workflow
