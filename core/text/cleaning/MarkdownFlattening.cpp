#include "core/text/cleaning/MarkdownFlattening.h"

#include "core/text/base/Whitespace.h"

#include <optional>
#include <vector>

namespace velquor::text {

namespace {

// The first position at or after `from` whose unit passes the test, or the text's length. It
// remembers its last answer, so a sequence of queries whose starts never move backwards reads
// each unit once.
template <class Test>
class ForwardFinder {
public:
    ForwardFinder(std::u16string_view text, Test test) : text_(text), test_(test) {}

    std::size_t firstFrom(std::size_t from) {
        if (!answered_ || from < lastFrom_ || from > lastResult_) {
            lastResult_ = from;
            while (lastResult_ < text_.size() && !test_(text_[lastResult_])) ++lastResult_;
        }
        lastFrom_ = from;
        answered_ = true;
        return lastResult_;
    }

private:
    std::u16string_view text_;
    Test test_;
    std::size_t lastFrom_ = 0;
    std::size_t lastResult_ = 0;
    bool answered_ = false;
};

template <class Test>
ForwardFinder(std::u16string_view, Test) -> ForwardFinder<Test>;

TextLocation locationBetween(std::size_t start, std::size_t end) {
    return {static_cast<std::int64_t>(start), static_cast<std::int64_t>(end - start)};
}

constexpr std::array<MarkdownRewrite, 10> rewrites{{
    // A code fence line, with its info string and its line break.
    {{uR"((?m)^[ \t]*```[^\n]*\n?)"}, u""},
    // A horizontal rule.
    {{uR"((?m)^[ \t]{0,3}(?:-{3,}|\*{3,}|_{3,})[ \t]*$)", uR"((?m)^[ \t]{0,3}(?:-{3}-*|\*{3}\**|_{3}_*)[ \t]*$)"}, u""},
    // A heading marker.
    {{uR"((?m)^[ \t]{0,3}#{1,6}[ \t]+)"}, u""},
    // A block quote marker.
    {{uR"((?m)^[ \t]{0,3}>[ \t]?)"}, u""},
    // A link or image: its text, then its address in parentheses; a title is dropped. Its
    // bracketed text and address may run on for pages, and an ordinary scan would re-read them
    // from every bracket inside.
    {{uR"(!?\[([^\]]+)\]\(([^\s)]+)(?:\s+\"[^\"]*\")?\))"}, u"$1 ($2)", markdownLinkMatches},
    // Strong emphasis, with asterisks and with underscores.
    {{uR"(\*\*([^*\n]+)\*\*)"}, u"$1"},
    {{uR"(__([^_\n]+)__)"}, u"$1"},
    // Strike-through.
    {{uR"(~~([^~\n]+)~~)"}, u"$1"},
    // Inline code.
    {{uR"(`([^`\n]+)`)"}, u"$1"},
    // Emphasis with single asterisks.
    {{uR"((?<!\*)\*([^*\n]+)\*(?!\*))"}, u"$1"},
}};

const std::vector<CompiledPatternRule>& compiledRewrites() {
    static const std::vector<CompiledPatternRule> compiled = [] {
        std::vector<CompiledPatternRule> rules;
        for (const auto& rewrite : rewrites) rules.emplace_back(rewrite.rule, RegexOptions{});
        return rules;
    }();
    return compiled;
}

void appendExpanded(std::u16string& out, std::u16string_view text, const RegexMatch& match,
                    std::u16string_view replacement) {
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char16_t unit = replacement[i];
        if (unit == u'$' && i + 1 < replacement.size() && replacement[i + 1] >= u'1' && replacement[i + 1] <= u'9') {
            const auto group = static_cast<std::size_t>(replacement[++i] - u'1');
            if (group < match.groups.size() && match.groups[group]) {
                const auto range = *match.groups[group];
                out += text.substr(static_cast<std::size_t>(range.utf16Location),
                                   static_cast<std::size_t>(range.utf16Length));
            }
        } else {
            out.push_back(unit);
        }
    }
}

// The matches replaced, everything between them kept. Should a scan run out of budget, the
// matches it found are still the first ones of the whole answer, and only those are rewritten.
std::u16string replaced(std::u16string_view text, const std::vector<RegexMatch>& matches,
                        std::u16string_view replacement) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (const auto& match : matches) {
        const auto start = static_cast<std::size_t>(match.range.utf16Location);
        out += text.substr(copied, start - copied);
        appendExpanded(out, text, match, replacement);
        copied = static_cast<std::size_t>(match.range.end());
    }
    out += text.substr(copied);
    return out;
}

}  // namespace

const std::array<MarkdownRewrite, 10>& markdownRewrites() { return rewrites; }

// The link rule has only one way to match from a given bracket: the text runs to the first
// closing bracket, the address to the first white space or closing parenthesis, and a title
// from its opening quote to the next quote, which a parenthesis must follow. Backtracking never
// finds another, so each start is decided by these four searches.
std::vector<RegexMatch> markdownLinkMatches(std::u16string_view text) {
    // White space is a single unit, so testing units tests scalars.
    const auto isSpace = [](char16_t unit) { return isWhitespaceOrNewline(unit); };
    ForwardFinder closingBracket(text, [](char16_t unit) { return unit == u']'; });
    ForwardFinder addressEnd(text, [&](char16_t unit) { return unit == u')' || isSpace(unit); });
    ForwardFinder spaceEnd(text, [&](char16_t unit) { return !isSpace(unit); });
    ForwardFinder closingQuote(text, [](char16_t unit) { return unit == u'"'; });
    const auto size = text.size();

    std::vector<RegexMatch> matches;
    for (std::size_t searchFrom = 0;;) {
        const auto bracket = text.find(u'[', searchFrom);
        if (bracket == std::u16string_view::npos) break;
        const auto close = closingBracket.firstFrom(bracket + 1);
        const auto addressStart = close + 2;
        const auto address = close + 1 < size && text[close + 1] == u'(' ? addressEnd.firstFrom(addressStart) : size;
        std::optional<std::size_t> end;
        if (close > bracket + 1 && address > addressStart && address < size) {
            if (text[address] == u')') {
                end = address + 1;
            } else if (const auto quote = spaceEnd.firstFrom(address); quote < size && text[quote] == u'"') {
                const auto closing = closingQuote.firstFrom(quote + 1);
                if (closing + 1 < size && text[closing + 1] == u')') end = closing + 2;
            }
        }
        if (!end) {
            searchFrom = bracket + 1;
            continue;
        }
        // An image's "!" belongs to the match unless an earlier match took it.
        const bool image = bracket > searchFrom && text[bracket - 1] == u'!';
        matches.push_back({locationBetween(image ? bracket - 1 : bracket, *end),
                           {locationBetween(bracket + 1, close), locationBetween(addressStart, address)}});
        searchFrom = *end;
    }
    return matches;
}

FlattenedMarkdown flattenMarkdownArtifacts(std::u16string_view text) {
    FlattenedMarkdown result{std::u16string(text), 0};
    const auto& compiled = compiledRewrites();
    for (std::size_t i = 0; i < rewrites.size(); ++i) {
        const auto scan = rewrites[i].scanner ? RegexScan{rewrites[i].scanner(result.text), true}
                                              : compiled[i].allMatches(result.text);
        if (scan.matches.empty()) continue;
        result.replacements += static_cast<std::int64_t>(scan.matches.size());
        result.text = replaced(result.text, scan.matches, rewrites[i].replacement);
    }
    return result;
}

}  // namespace velquor::text
