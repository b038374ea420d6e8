#include "core/text/authorship/RewriteTokenDiff.h"

#include "core/text/base/SequenceDiff.h"
#include "core/text/base/Utf.h"

#include <unicode/uchar.h>

#include <unordered_map>

namespace velquor::text {

namespace {

enum class TokenClass { space, word, single };

// \s is ICU's White_Space; [\p{L}\p{M}\p{N}_] is the general categories L, M and N and the
// underscore; "." takes any other code point, unpaired surrogates included (the line breaks it
// leaves out are all white space).
TokenClass tokenClassOf(char32_t scalar) {
    const auto codePoint = static_cast<UChar32>(scalar);
    if (u_isUWhiteSpace(codePoint)) return TokenClass::space;
    if (scalar == U'_' || (U_GET_GC_MASK(codePoint) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0) {
        return TokenClass::word;
    }
    return TokenClass::single;
}

// Numbers tokens by their exact text, shared by both texts.
class TokenNumbering {
public:
    std::vector<std::uint32_t> numbered(std::u16string_view text, const std::vector<TextLocation>& tokens) {
        std::vector<std::uint32_t> symbols;
        symbols.reserve(tokens.size());
        for (const auto& token : tokens) {
            const auto tokenText =
                text.substr(static_cast<std::size_t>(token.utf16Location), static_cast<std::size_t>(token.utf16Length));
            const auto next = static_cast<std::uint32_t>(numbers_.size());
            symbols.push_back(numbers_.try_emplace(tokenText, next).first->second);
        }
        return symbols;
    }

private:
    std::unordered_map<std::u16string_view, std::uint32_t> numbers_;
};

std::vector<TextLocation> locationsAt(const std::vector<TextLocation>& tokens,
                                      const std::vector<std::size_t>& indices) {
    std::vector<TextLocation> picked;
    picked.reserve(indices.size());
    for (const auto index : indices) picked.push_back(tokens[index]);
    return picked;
}

}  // namespace

std::vector<TextLocation> rewriteTokens(std::u16string_view text) {
    std::vector<TextLocation> tokens;
    for (std::size_t start = 0; start < text.size();) {
        const auto first = scalarAt(text, start);
        const auto kind = tokenClassOf(first.scalar);
        const auto sameClass = [kind](char32_t scalar) { return tokenClassOf(scalar) == kind; };
        const auto end =
            kind == TokenClass::single ? start + first.length : scalarRunEnd(text, start + first.length, sameClass);
        tokens.push_back({static_cast<std::int64_t>(start), static_cast<std::int64_t>(end - start)});
        start = end;
    }
    return tokens;
}

RewriteTextDiff rewriteTextDiff(std::u16string_view original, std::u16string_view rewritten) {
    const auto before = rewriteTokens(original);
    const auto after = rewriteTokens(rewritten);
    TokenNumbering numbering;
    const auto beforeSymbols = numbering.numbered(original, before);
    const auto afterSymbols = numbering.numbered(rewritten, after);
    const auto edits = diffEdits(beforeSymbols, afterSymbols);
    return {locationsAt(before, edits.removals), locationsAt(after, edits.insertions)};
}

}  // namespace velquor::text
