#include "core/text/cleaning/WhitespaceNormalization.h"

#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace velquor::text {

namespace {

std::int32_t graphemeBreakOf(char32_t scalar) {
    return u_getIntPropertyValue(static_cast<UChar32>(scalar), UCHAR_GRAPHEME_CLUSTER_BREAK);
}

bool isControlBreak(char32_t scalar) {
    const auto kind = graphemeBreakOf(scalar);
    return kind == U_GCB_CONTROL || kind == U_GCB_CR || kind == U_GCB_LF;
}

bool extendsPreviousCharacter(char32_t scalar) {
    const auto kind = graphemeBreakOf(scalar);
    return kind == U_GCB_EXTEND || kind == U_GCB_ZWJ || kind == U_GCB_SPACING_MARK;
}

// White space and line breaks are single units and never extend one another; only CR LF pairs.
std::int64_t clustersOfWhitespace(std::u16string_view whitespace) {
    std::int64_t clusters = static_cast<std::int64_t>(whitespace.size());
    for (std::size_t i = 1; i < whitespace.size(); ++i) {
        if (whitespace[i - 1] == u'\r' && whitespace[i] == u'\n') --clusters;
    }
    return clusters;
}

std::optional<char32_t> lastScalarOf(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    return scalarBefore(text, text.size()).scalar;
}

std::optional<char32_t> firstScalarOf(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    return scalarAt(text, 0).scalar;
}

bool isSpaceOrTab(char16_t unit) { return unit == u' ' || unit == u'\t'; }

// Appends the line with each white-space run collapsed to one plain space.
void appendCollapsedLine(std::u16string_view line, std::u16string& out, TextChangeSummary& summary) {
    bool previousWasWhitespace = false;
    for (const auto& [scalar, offset, length] : scalarsOf(line)) {
        if (scalar == U'\t' || isWhitespaceOrNewline(scalar)) {
            if (!previousWasWhitespace) {
                out.push_back(u' ');
                if (scalar != U' ') ++summary.normalizedWhitespaceScalars;
            } else {
                ++summary.normalizedWhitespaceScalars;
            }
            previousWasWhitespace = true;
        } else {
            out.append(line.substr(offset, length));
            previousWasWhitespace = false;
        }
    }
}

// Trims the spaces and tabs at both ends of out[lineStart...], counting the characters removed.
void trimLineEnds(std::u16string& out, std::size_t lineStart, TextChangeSummary& summary) {
    const std::u16string_view line = std::u16string_view(out).substr(lineStart);
    std::size_t start = 0;
    while (start < line.size() && isSpaceOrTab(line[start])) ++start;
    std::size_t end = line.size();
    while (end > start && isSpaceOrTab(line[end - 1])) --end;
    if (start == 0 && end == line.size()) return;
    const auto kept = line.substr(start, end - start);
    summary.trimmedCharacters += charactersRemovedAtStart(line.substr(0, start), firstScalarOf(kept)) +
                                 charactersRemovedAtEnd(lastScalarOf(kept), line.substr(end));
    const std::u16string trimmed(kept);
    out.replace(lineStart, std::u16string::npos, trimmed);
}

}  // namespace

std::int64_t charactersRemovedAtStart(std::u16string_view removed, std::optional<char32_t> next) {
    if (removed.empty()) return 0;
    const bool joinsNext = next && !isControlBreak(removed.back()) && extendsPreviousCharacter(*next);
    return clustersOfWhitespace(removed) - (joinsNext ? 1 : 0);
}

std::int64_t charactersRemovedAtEnd(std::optional<char32_t> previous, std::u16string_view removed) {
    if (removed.empty()) return 0;
    bool joinsPrevious = false;
    if (previous) {
        joinsPrevious = (*previous == U'\r' && removed.front() == u'\n') ||
                        (graphemeBreakOf(*previous) == U_GCB_PREPEND && !isControlBreak(removed.front()));
    }
    return clustersOfWhitespace(removed) - (joinsPrevious ? 1 : 0);
}

std::u16string normalizeLines(std::u16string_view text, bool trim, TextChangeSummary& summary) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t lineStart = 0;;) {
        const auto lineEnd = std::min(text.find(u'\n', lineStart), text.size());
        const auto outStart = out.size();
        appendCollapsedLine(text.substr(lineStart, lineEnd - lineStart), out, summary);
        if (trim) trimLineEnds(out, outStart, summary);
        if (lineEnd == text.size()) break;
        out.push_back(u'\n');
        lineStart = lineEnd + 1;
    }
    return out;
}

std::u16string trimTextEdges(std::u16string_view text, TextChangeSummary& summary) {
    const auto kept = trimmedWhitespaceAndNewlines(text);
    if (kept.size() == text.size()) return std::u16string(text);
    const auto start = static_cast<std::size_t>(kept.data() - text.data());
    summary.trimmedCharacters += charactersRemovedAtStart(text.substr(0, start), firstScalarOf(kept)) +
                                 charactersRemovedAtEnd(lastScalarOf(kept), text.substr(start + kept.size()));
    return std::u16string(kept);
}

}  // namespace velquor::text
