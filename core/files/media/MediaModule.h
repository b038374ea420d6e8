#pragma once

#include "core/files/FileInspector.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace velquor::files {

// The media family's inspector as the registry holds it. The real one lives in a module of its
// own (velquor-media.so) together with libavformat and its hundred-odd libraries, which is loaded
// the first time a media file is inspected or copied: a text command, or a batch without audio
// and video, never pays for them. When the module cannot be loaded every call throws
// MediaModuleUnavailable, for every media file, and nothing else is affected.
class MediaModuleInspector final : public FileInspector {
public:
    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;
};

// Why audio and video cannot be handled in this process. what() names the module and the reason,
// and the error passes through wherever a system error does.
class MediaModuleUnavailable : public std::system_error {
public:
    MediaModuleUnavailable(std::error_code code, const std::string& what);
};

// Where the module may be, in the order it is looked for: beside the installed program (the
// library folder next to its bin/), and, only for a program that runs from inside the build tree,
// the build tree's own module. Never the current folder, never a search path from the
// environment.
std::vector<std::filesystem::path> mediaModuleLocations(const std::filesystem::path& executable);

// A module may only be loaded from a regular file that belongs to this user or to root and that
// nobody else may write to; anything else could have been put there by someone else.
bool isTrustedModuleFile(const struct stat& status, uid_t user);

// Loads the module from `file` (an absolute path); throws MediaModuleUnavailable when it is missing,
// not trusted, not loadable or not from this build. Tests use it directly; the registry's
// inspector loads once from mediaModuleLocations() of the running program.
const FileInspector& loadMediaModule(const std::filesystem::path& file);

}  // namespace velquor::files
