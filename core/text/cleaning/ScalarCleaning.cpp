#include "core/text/cleaning/ScalarCleaning.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"

namespace velquor::text {

namespace {

bool isNoBreakSpace(char32_t scalar) { return scalar == 0x00A0 || scalar == 0x202F || scalar == 0x2007; }

enum class Removal { none, invisible, format, privateUse };

// How the unsafe-Unicode step treats one scalar, before control characters are considered.
Removal unsafeRemoval(char32_t scalar, InvisibleScalarRules& rules, std::size_t offset) {
    if (isAscii(scalar)) return Removal::none;
    const bool candidate = isVariationSelector(scalar) || isContextualInvisibleScalar(scalar) ||
                           isFormatScalar(scalar) || isPrivateUseScalar(scalar);
    if (!candidate || rules.shouldPreserveInvisibleScalar(offset)) return Removal::none;
    if (isVariationSelector(scalar) || isContextualInvisibleScalar(scalar)) return Removal::invisible;
    if (isFormatScalar(scalar)) return Removal::format;
    return Removal::privateUse;
}

void countRemoval(Removal removal, TextChangeSummary& summary) {
    switch (removal) {
        case Removal::invisible:
            ++summary.removedInvisibleScalars;
            break;
        case Removal::format:
            ++summary.removedFormatControls;
            break;
        case Removal::privateUse:
            ++summary.removedPrivateUseScalars;
            break;
        case Removal::none:
            break;
    }
}

}  // namespace

std::u16string normalizedLineEndings(std::u16string_view text) {
    std::u16string normalized;
    normalized.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            normalized.push_back(text[i]);
        } else if (i + 1 >= text.size() || text[i + 1] != u'\n') {
            normalized.push_back(u'\n');
        }
    }
    return normalized;
}

std::u16string cleanScalars(std::u16string_view text, bool removeUnsafeUnicode, bool normalizeWhitespace,
                            TextChangeSummary& summary) {
    InvisibleScalarRules rules(text);
    std::u16string cleaned;
    cleaned.reserve(text.size());
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        const auto keep = text.substr(offset, length);
        if (removeUnsafeUnicode) {
            const auto removal = unsafeRemoval(scalar, rules, offset);
            if (removal != Removal::none) {
                countRemoval(removal, summary);
                continue;
            }
        }
        if (normalizeWhitespace && isNoBreakSpace(scalar)) {
            cleaned.push_back(u' ');
            ++summary.normalizedWhitespaceScalars;
        } else if (removeUnsafeUnicode && isControlScalar(scalar) && scalar != U'\t' && scalar != U'\n') {
            ++summary.removedControlScalars;
        } else {
            cleaned += keep;
        }
    }
    return cleaned;
}

std::u16string settleInvisibleScalars(std::u16string text, TextChangeSummary& summary) {
    // Each round removes at least one scalar; removing a format scalar never changes what its
    // neighbours are, so in practice one round settles the text and the next finds nothing.
    for (;;) {
        InvisibleScalarRules rules(text);
        std::u16string settled;
        bool removedAny = false;
        for (const auto& [scalar, offset, length] : scalarsOf(text)) {
            const auto removal = unsafeRemoval(scalar, rules, offset);
            if (removal != Removal::none && !removedAny) {
                settled.reserve(text.size());
                settled.assign(text, 0, offset);
                removedAny = true;
            }
            if (removal != Removal::none) {
                countRemoval(removal, summary);
            } else if (removedAny) {
                settled.append(text, offset, length);
            }
        }
        if (!removedAny) return text;
        text = std::move(settled);
    }
}

}  // namespace velquor::text
