#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileMetadataReport.h"

#include <string_view>
#include <vector>

namespace velquor::files {

// Content credentials in a file's bytes: a C2PA manifest container in a PNG (caBX chunk), a
// JPEG (APP11 JUMBF) or a WebP (C2PA chunk) is confirmed and blocks export; otherwise a marker
// text anywhere in the file is a possible trace that only informs. At most one element. Reads
// only headers, jumps by declared lengths and never reads past the end.
std::vector<ProvenanceEvidence> scanProvenance(ByteView data);

// Whether `pattern` occurs in `data`, comparing ASCII letters without regard to case. An empty
// pattern, or data shorter than the pattern, never matches.
bool containsASCII(ByteView data, std::string_view pattern);

}  // namespace velquor::files
