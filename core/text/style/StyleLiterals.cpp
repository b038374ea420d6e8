#include "core/text/style/StyleLiterals.h"

#include "core/text/style/StylePatterns.h"
#include "core/text/style/StylePhraseLists.h"
#include "core/text/style/StylePhraseScanner.h"

#include <algorithm>
#include <stdexcept>

namespace velquor::text {

namespace {

struct LiteralCatalogue {
    std::vector<std::u16string_view> literals;  // distinct
    StylePhraseScanner scanner;

    LiteralCatalogue() : literals(allLiterals()), scanner(literals) {}

    std::size_t indexOf(std::u16string_view literal) const {
        const auto found = std::find(literals.begin(), literals.end(), literal);
        if (found == literals.end()) throw std::out_of_range("the style pass does not scan for this literal");
        return static_cast<std::size_t>(found - literals.begin());
    }

private:
    static std::vector<std::u16string_view> allLiterals() {
        std::vector<std::u16string_view> all;
        const auto add = [&](std::span<const std::u16string_view> literals) {
            for (const auto literal : literals) {
                if (std::find(all.begin(), all.end(), literal) == all.end()) all.push_back(literal);
            }
        };
        for (const auto& list : stylePhraseLists()) add(list.phrases);
        add(structuralBoilerplatePhrases());
        for (const auto* pattern : allStylePatterns()) add(pattern->anchors);
        return all;
    }
};

const LiteralCatalogue& literalCatalogue() {
    static const LiteralCatalogue catalogue;
    return catalogue;
}

}  // namespace

StyleLiteralOccurrences::StyleLiteralOccurrences(std::u16string_view text)
    : occurrences_(literalCatalogue().scanner.occurrences(text)) {}

const std::vector<TextLocation>& StyleLiteralOccurrences::of(std::u16string_view literal) const {
    return occurrences_[literalCatalogue().indexOf(literal)];
}

std::vector<std::int64_t> StyleLiteralOccurrences::startsOf(std::span<const std::u16string_view> literals) const {
    std::vector<std::int64_t> starts;
    for (const auto literal : literals) {
        for (const auto occurrence : of(literal)) starts.push_back(occurrence.utf16Location);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

}  // namespace velquor::text
