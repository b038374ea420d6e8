#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::cli {

// Scalars a reader cannot see or that change how the surrounding text is shown: controls,
// format and bidi controls, private use, lone surrogates, line and paragraph separators,
// variation selectors, the fillers and selectors that are invisible outside their scripts, and
// every space but the plain one.
bool isHiddenFromReaders(char32_t scalar);

// Text for a terminal, as UTF-8, with each hidden scalar shown as <U+XXXX> so that inspected
// content can neither hide nor reorder what is printed around it.
std::string terminalSafe(std::u16string_view text);

// "1 match", "3 matches": a count with the noun that fits it.
std::string counted(std::int64_t count, std::string_view singular, std::string_view plural);

}  // namespace velquor::cli
