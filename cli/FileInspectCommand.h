#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command fileInspectCommand;

}  // namespace velquor::cli
