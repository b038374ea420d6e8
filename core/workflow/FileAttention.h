#pragma once

#include "core/files/FileMetadataReport.h"

#include <filesystem>

namespace velquor::workflow {

// Whether a file should fail a check, and be marked in a batch: provenance evidence of any
// confidence, or anything that its family's privacy copy could not keep (personal metadata for
// images, PDF and media, any entry for SVG, residue for Office and iWork).
bool fileNeedsAttention(const std::filesystem::path& file, const files::FileMetadataReport& report);

}  // namespace velquor::workflow
