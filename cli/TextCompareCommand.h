#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textCompareCommand;

}  // namespace velquor::cli
