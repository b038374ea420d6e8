#pragma once

#include "Command.h"

namespace velquor::cli {

extern const Command textPromptCommand;

}  // namespace velquor::cli
