#include "core/workflow/FileSelection.h"

#include <sys/stat.h>

namespace velquor::workflow {

SelectionRoute routeSelection(std::span<const std::filesystem::path> selection) {
    if (selection.empty()) return SelectionRoute::none;
    if (selection.size() == 1 && !isExistingFolder(selection.front())) return SelectionRoute::singleFile;
    return SelectionRoute::batch;
}

bool isExistingFolder(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace velquor::workflow
