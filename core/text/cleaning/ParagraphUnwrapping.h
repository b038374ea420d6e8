#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::text {

// List items and rules, as the unwrapper recognises them in a trimmed line.
inline constexpr std::u16string_view structuralLinePattern = uR"(^(?:(?:[-*+] |\d+[.)] )|(?:-{3,}|\*{3,}|_{3,})$))";

// Whether the line is Markdown structure that must keep its own line: indented code, a
// heading, a quote, a fence, a table row, a list item or a rule.
bool isStructuralMarkdownLine(std::u16string_view line);

// Whether the trimmed line matches structuralLinePattern. Written out by hand because it runs
// once per line; a test holds it to the pattern.
bool matchesStructuralLinePattern(std::u16string_view trimmedLine);

struct UnwrappedText {
    std::u16string text;
    std::int64_t removedBreaks = 0;
};

// Joins the single line breaks of hard-wrapped paragraphs; paragraph breaks, Markdown hard
// breaks, structure and everything between fences keep their lines.
UnwrappedText unwrapHardWrappedParagraphs(std::u16string_view text);

}  // namespace velquor::text
