#pragma once

#include "core/text/records/HiddenTextPayload.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// Messages smuggled in tag characters or variation selectors: tag-character payloads first,
// then variation-selector payloads, each group in text order. Scalars a script or emoji
// needs end a run instead of adding to it.
std::vector<HiddenTextPayload> hiddenPayloads(std::u16string_view text);

// The bytes as trimmed text when they read as ASCII prose: at least two bytes, only printable
// ASCII, tab, line feed and carriage return, at least 80% printable, something left after trimming.
std::optional<std::u16string> plausibleASCIIText(std::span<const std::uint8_t> bytes);

}  // namespace velquor::text
