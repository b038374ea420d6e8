#pragma once

#include <filesystem>
#include <string>

namespace velquor::files {

// What the core knows of audio and video without libavformat: which files the media family
// takes, which it copies, and how it names their type. The registry and the ready statuses ask
// these before the media module is ever loaded.

// The extension names a known type, and that type is audio or video or the extension is one of
// the media extensions every build supports.
bool isSupportedMediaFile(const std::filesystem::path& file);

// Every type with a copy format (MediaCopyFormat) gets privacy copies.
bool canExportMediaPrivacyCopy(const std::filesystem::path& file);

// The type's description, or the media family's own name for the extension.
std::u16string mediaTypeDescription(const std::filesystem::path& file);

}  // namespace velquor::files
