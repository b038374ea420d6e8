#pragma once

#include <filesystem>
#include <span>

namespace velquor::workflow {

// How a selection or a drop of paths is inspected.
enum class SelectionRoute {
    none,        // nothing was selected: nothing happens
    singleFile,  // one path that is not a folder (it need not exist: inspecting it says why not)
    batch,       // several paths, or one existing folder
};

SelectionRoute routeSelection(std::span<const std::filesystem::path> selection);

// Whether the path names an existing folder. A symbolic link is followed: the user chose the
// path, so a link to a folder stands for that folder.
bool isExistingFolder(const std::filesystem::path& path);

}  // namespace velquor::workflow
