#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velquor::app {

// Groups deeper than this make the document unreadable rather than costing memory.
inline constexpr std::size_t maximumRtfGroupDepth = 256;

// The visible text of an RTF document: plain characters, \uN with its \ucN fallback skipped,
// \'hh bytes in the document's code page, paragraph, line and tab breaks and the few symbol
// words that stand for a character. Font, colour and style tables, document information,
// pictures, objects, headers, footers, field instructions and every \* destination are left
// out, and \binN data is stepped over. Nothing when the bytes do not start an RTF document or
// nest groups deeper than maximumRtfGroupDepth. The text never holds an unpaired surrogate and
// is never longer than twice the input.
std::optional<std::u16string> rtfPlainText(std::span<const std::uint8_t> rtf);

}  // namespace velquor::app
