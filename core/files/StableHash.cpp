#include "core/files/StableHash.h"

namespace velquor::files {

namespace {

constexpr std::uint64_t offsetBasis = 0xcbf29ce484222325u;
constexpr std::uint64_t prime = 0x100000001b3u;

constexpr std::uint64_t mixed(std::uint64_t hash, std::uint64_t value) { return (hash ^ value) * prime; }

}  // namespace

std::uint64_t stableHash(std::u16string_view text) {
    std::uint64_t hash = offsetBasis;
    for (const char16_t unit : text) hash = mixed(hash, unit);
    return hash;
}

std::uint64_t stableByteHash(std::u16string_view text) {
    std::uint64_t hash = offsetBasis;
    for (const char16_t unit : text) hash = mixed(mixed(hash, unit & 0xFFu), unit >> 8);
    return hash;
}

}  // namespace velquor::files
