// Arbitrary bytes through the clipboard's RTF reader, as an RTF document: nothing may crash or
// hang, the text is never more than twice the input, and it never holds an unpaired surrogate.
#include "app/clipboard/RtfReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool hasUnpairedSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The header makes every input a document, so the fuzzer spends its time inside the reader.
    constexpr std::string_view header = "{\\rtf1";
    std::vector<std::uint8_t> document(header.begin(), header.end());
    document.insert(document.end(), data, data + size);
    for (const auto& input : {std::span<const std::uint8_t>(data, size), std::span<const std::uint8_t>(document)}) {
        const auto text = velquor::app::rtfPlainText(input);
        if (!text) continue;
        require(text->size() <= 2 * input.size());
        require(!hasUnpairedSurrogate(*text));
    }
    return 0;
}
