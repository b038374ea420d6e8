#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace velquor::cli {

// Text for a man page line: backslashes and hyphens escaped, anything outside ASCII as a
// \[uXXXX] escape (so the page is ASCII and renders the same under any locale), and a line that
// would start a request (".", "'") protected.
std::string troffText(std::string_view utf8);

// The manual page velquor-cli(1), built from the command table: NAME, SYNOPSIS, DESCRIPTION,
// one subsection per command (usage, description, options, examples, exit status) under
// COMMANDS, then EXIT STATUS.
void writeManPage(std::ostream& out);

}  // namespace velquor::cli
