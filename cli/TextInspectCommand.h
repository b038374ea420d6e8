#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textInspectCommand;

}  // namespace velquor::cli
