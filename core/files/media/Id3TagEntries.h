#pragma once

#include "core/files/media/TagEntryWalk.h"

#include <cstdint>

namespace velquor::files {

// Counts the frames of the ID3v2 tags at `offset` (none, one or several in a row, as the demuxer
// reads them), the frames inside chapters included, walking frame headers the way the demuxer
// does. Returns where the tags end.
std::int64_t countId3Tags(SourceWindow& window, std::int64_t offset, EntryCount& count);

}  // namespace velquor::files
