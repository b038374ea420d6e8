#pragma once

#include "cli/Command.h"

#include <ostream>
#include <string>
#include <string_view>

namespace velquor::cli {

// What the tool is, for the overview and the manual page.
inline constexpr std::string_view toolTagline = "what a text or a file carries beyond its visible words";

inline constexpr std::string_view toolDescription =
    "velquor-cli tells what a text or a file carries beyond its visible words, and removes what can be removed "
    "safely. For text: hidden and control Unicode, messages hidden in invisible characters, secrets such as access "
    "keys and tokens, private network details, tracking parameters in links and templated-writing signals; it "
    "writes cleaned text. For files (images, SVG, PDF, audio and video, Office and iWork documents): metadata by "
    "section and content credentials; it writes verified privacy copies. Everything runs on this machine: "
    "inspected content never leaves it.";

inline constexpr std::string_view exitStatusOverview =
    "0 nothing needs attention; 1 something needs attention (each command says what); 2 bad input or usage, or a "
    "file that could not be inspected or exported; 130 interrupted. Messages go to standard error; when a command "
    "cannot run at all (bad usage, unreadable input) nothing is printed on standard output.";

// `text` broken into lines of at most `width` columns at spaces (a longer word stands alone),
// each line starting with `indent` spaces; paragraphs, separated by blank lines, stay separate.
std::string wrappedText(std::string_view text, std::size_t indent, std::size_t width = 79);

// velquor-cli --help: every command of the table with its summary, then the exit statuses.
void printOverview(std::ostream& out);

// velquor-cli COMMAND --help: usage, description, options, examples, exit status.
void printCommandHelp(std::ostream& out, const Command& command);

}  // namespace velquor::cli
