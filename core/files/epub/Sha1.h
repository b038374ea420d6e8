#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velquor::files {

// The SHA-1 digest of the bytes. Only for the key of an EPUB's font obfuscation, which the
// format defines through it; nothing here relies on it for security.
std::array<std::uint8_t, 20> sha1(std::string_view bytes);

}  // namespace velquor::files
