#include "core/files/MetadataText.h"

#include "core/text/base/Utf.h"

namespace velquor::files {

namespace {

std::string_view withoutTrailingNuls(std::string_view bytes) {
    while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    return bytes;
}

}  // namespace

std::u16string latin1Text(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    return text;
}

std::u16string metadataText(std::string_view bytes) {
    bytes = withoutTrailingNuls(bytes);
    if (auto decoded = text::decodeUtf8(bytes)) return std::move(*decoded);
    return latin1Text(bytes);
}

}  // namespace velquor::files
