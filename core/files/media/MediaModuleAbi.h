#pragma once

#include "core/files/FileInspector.h"

namespace velquor::files {

// The one function the media module exports. The module carries its own copy of the core's file
// records, so it is only usable by a core of the same build: it answers null to any other stamp.
using MediaModuleEntry = const FileInspector* (*)(const char* abi);

inline constexpr const char* mediaModuleEntryName = "velquor_media_inspector";
inline constexpr const char* mediaModuleFileName = "velquor-media.so";
inline constexpr const char* mediaModuleAbi = VELQUOR_MODULE_ABI;

}  // namespace velquor::files
