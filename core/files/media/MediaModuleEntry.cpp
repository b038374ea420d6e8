#include "core/files/media/MediaMetadataInspector.h"
#include "core/files/media/MediaModuleAbi.h"

#include <string_view>

extern "C" const velquor::files::FileInspector* velquor_media_inspector(const char* abi) {
    static const velquor::files::MediaMetadataInspector inspector;
    if (abi == nullptr || std::string_view(abi) != velquor::files::mediaModuleAbi) return nullptr;
    return &inspector;
}
