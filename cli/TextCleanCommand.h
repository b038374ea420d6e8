#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textCleanCommand;

}  // namespace velquor::cli
