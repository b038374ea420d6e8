#include "RewriteTokenDiff.h"

#include "Regex.h"
#include "SequenceDiff.h"

#include <unordered_map>
#include <vector>

namespace velquor::text {

namespace {

const std::optional<Regex>& tokenPattern() {
    static const auto pattern = Regex::compile(uR"(\s+|[\p{L}\p{M}\p{N}_]+|.)");
    return pattern;
}

struct Tokens {
    std::vector<TextLocation> locations;
    std::vector<std::uint32_t> symbols;  // equal tokens, equal numbers
    bool complete = true;
};

// Numbers tokens by their exact text, shared by both texts.
class TokenNumbering {
public:
    Tokens tokenized(std::u16string_view text) {
        Tokens tokens;
        if (!tokenPattern()) return tokens;
        const auto scan = tokenPattern()->allMatches(text);
        tokens.complete = scan.complete;
        tokens.locations.reserve(scan.matches.size());
        tokens.symbols.reserve(scan.matches.size());
        for (const auto& match : scan.matches) {
            const auto token = text.substr(static_cast<std::size_t>(match.range.utf16Location),
                                           static_cast<std::size_t>(match.range.utf16Length));
            tokens.locations.push_back(match.range);
            tokens.symbols.push_back(numberOf(token));
        }
        return tokens;
    }

private:
    std::uint32_t numberOf(std::u16string_view token) {
        const auto next = static_cast<std::uint32_t>(numbers_.size());
        return numbers_.try_emplace(token, next).first->second;
    }

    std::unordered_map<std::u16string_view, std::uint32_t> numbers_;
};

std::vector<TextLocation> locationsAt(const std::vector<TextLocation>& locations, const std::vector<std::size_t>& indices) {
    std::vector<TextLocation> picked;
    picked.reserve(indices.size());
    for (const auto index : indices) picked.push_back(locations[index]);
    return picked;
}

}  // namespace

TokenDiff rewriteTextDiff(std::u16string_view original, std::u16string_view rewritten) {
    TokenNumbering numbering;
    const auto before = numbering.tokenized(original);
    const auto after = numbering.tokenized(rewritten);
    const auto edits = diffEdits(before.symbols, after.symbols);
    return {{locationsAt(before.locations, edits.removals), locationsAt(after.locations, edits.insertions)},
            before.complete && after.complete};
}

}  // namespace velquor::text
