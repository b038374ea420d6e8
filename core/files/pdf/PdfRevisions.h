#pragma once

#include "core/files/pdf/QpdfHeaders.h"

#include <memory>
#include <vector>

namespace velquor::files {

// The information dictionaries that trailers of earlier revisions name, other than the current
// trailer's own, newest first. An incremental update can leave /Info out of the newest trailer
// while the older trailer, and the dictionary it names, stay in the file for anyone to read.
// The walk follows /Prev offsets read from the file, each at most once and only so many in all,
// and ends quietly at the first one that does not lead to a trailer.
std::vector<QPDFObjectHandle> olderInformationDictionaries(QPDF& pdf, const std::shared_ptr<InputSource>& file);

}  // namespace velquor::files
