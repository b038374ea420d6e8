#pragma once

#include "Command.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquor::cli {

// Text commands read at most 64 MiB, the engine's own limit.
inline constexpr std::int64_t textInputLimit = 67'108'864;

// Reads a text file, or standard input for "-" or no path, through the input safety checks.
// Throws TextInputError or std::system_error.
std::u16string readTextInput(std::optional<std::string_view> path, CommandStreams& streams);

}  // namespace velquor::cli
