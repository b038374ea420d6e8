#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textPromptCommand;

}  // namespace velquor::cli
