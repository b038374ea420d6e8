#pragma once

#include "Command.h"

namespace velquor::cli {

int runTextBaseline(std::span<const std::string> arguments, CommandStreams& streams);

}  // namespace velquor::cli
