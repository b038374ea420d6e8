#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/IsoMediaItems.h"

#include <algorithm>

namespace velquor::files {

// An item may be split over several extents: the blank item is laid over them in order.
std::vector<std::uint8_t> isoMediaPrivacyCopy(ByteView source) {
    std::vector<std::uint8_t> copy(source.begin(), source.end());
    for (const auto& item : readIsoMediaItems(source).metadata) {
        std::size_t total = 0;
        for (const auto& extent : item.extents) total += extent.length;
        const auto blank = blankIsoItem(item.kind, total);
        std::size_t at = 0;
        for (const auto& extent : item.extents) {
            std::copy_n(blank.begin() + static_cast<std::ptrdiff_t>(at), extent.length,
                        copy.begin() + static_cast<std::ptrdiff_t>(extent.offset));
            at += extent.length;
        }
    }
    return copy;
}

}  // namespace velquor::files
