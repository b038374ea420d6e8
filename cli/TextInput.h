#pragma once

#include "cli/Command.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::cli {

// Text commands read at most 64 MiB, the engine's own limit.
inline constexpr std::int64_t textInputLimit = 67'108'864;

// Reads a text file, or standard input for "-" or no path, through the input safety checks.
// Throws TextInputError or std::system_error.
std::u16string readTextInput(std::optional<std::string_view> path, CommandStreams& streams);

enum class InputNaming { messageOnly, namedInput };

// The same, for a command: when the text cannot be read, the reason goes to standard error
// (after the input's name, for commands that read more than one) and nothing is returned.
std::optional<std::u16string> readTextInputOrExplain(std::optional<std::string_view> path, CommandStreams& streams,
                                                     InputNaming naming = InputNaming::messageOnly);

// The first positional argument, the usual place of a text command's FILE.
std::optional<std::string_view> firstPositional(const std::vector<std::string>& positionals);

}  // namespace velquor::cli
