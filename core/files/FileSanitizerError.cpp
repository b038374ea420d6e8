#include "core/files/FileSanitizerError.h"

#include <string>

namespace velquor::files {

std::string_view FileSanitizerError::message(Case errorCase) {
    switch (errorCase) {
        case Case::unsupportedFile:
            return "Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this "
                   "version.";
        case Case::unreadableFile:
            return "The file could not be read.";
        case Case::destinationExists:
            return "A file already exists at the destination.";
        case Case::contentCredentialsInspectOnly:
            return "This file appears to contain content credentials or provenance data. Velquor leaves those files "
                   "inspect-only.";
        case Case::archiveResourceLimitExceeded:
            return "The document archive exceeds the safe inspection limit.";
        case Case::unsafeArchiveEntry:
            return "The document archive contains unsafe or conflicting entries.";
        case Case::exportFailed:
            return "The privacy copy could not be written.";
        case Case::verificationFailed:
            return "The exported copy still contains personal metadata.";
        case Case::signedDocument:
            return "This document is digitally signed, and any change would break its signature. Velquor leaves "
                   "signed documents inspect-only.";
        case Case::inspectOnlyType:
            return "Privacy export is not available for this file type.";
    }
    return {};
}

FileSanitizerError::FileSanitizerError(Case errorCase)
    : std::runtime_error(std::string(message(errorCase))), case_(errorCase) {}

void throwUnreadableFile() { throw FileSanitizerError(FileSanitizerError::Case::unreadableFile); }

void throwExportFailed() { throw FileSanitizerError(FileSanitizerError::Case::exportFailed); }

}  // namespace velquor::files
