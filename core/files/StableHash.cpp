#include "core/files/StableHash.h"

namespace velquor::files {

std::uint64_t stableHash(std::u16string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char16_t unit : text) hash = (hash ^ unit) * 0x100000001b3u;
    return hash;
}

}  // namespace velquor::files
