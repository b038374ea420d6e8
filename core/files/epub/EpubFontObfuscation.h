#pragma once

#include "core/files/office/XmlDocument.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace velquor::files {

// Fonts in an EPUB may be obfuscated with a key made from the book's identifier, so that a font
// cannot simply be unpacked and installed. A copy with a fresh identifier must obfuscate them
// again with the new key, or the reading system cannot use them.
enum class FontObfuscation {
    idpf,   // the first 1040 bytes XORed with the SHA-1 of the unique identifier
    adobe,  // the first 1024 bytes XORed with the 16 bytes of the identifier's UUID
};

// The obfuscated resources of an encryption part by archive path; other encrypted data is not
// listed.
std::map<std::string, FontObfuscation> obfuscatedFonts(const XmlDocument& encryption);

// How many resources the encryption part protects other than obfuscated fonts: content that
// only its reading system can decrypt.
std::size_t protectedContentCount(const XmlDocument& encryption);

// The font as obfuscated with the key of `newIdentifier` instead of `oldIdentifier`. An Adobe
// key from an identifier that holds no UUID is unreadableFile, since the font cannot be
// recovered.
std::string reobfuscatedFont(std::string font, FontObfuscation method, std::string_view oldIdentifier,
                             std::string_view newIdentifier);

}  // namespace velquor::files
