#pragma once

#include "core/files/FileMetadataReport.h"
#include "core/text/records/TextReport.h"

#include <filesystem>

namespace velquor::cli {

// Whether a text report should fail a check such as a pre-commit hook: a Unicode issue other
// than a non-ASCII letter, a hidden payload, a High or Medium privacy finding, or a scan that
// could not finish (an unfinished scan is no proof that the text is clean). Style signals,
// non-ASCII letters and Info findings never do, so an emoji or an accented name always passes.
bool reportNeedsAttention(const text::TextReport& report);

// Whether a file report should fail a check: provenance evidence of any confidence, or anything
// that its family's privacy copy could not keep (personal metadata for images, PDF and media,
// any entry for SVG, residue for Office and iWork).
bool fileNeedsAttention(const std::filesystem::path& file, const files::FileMetadataReport& report);

}  // namespace velquor::cli
