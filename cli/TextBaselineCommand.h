#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textBaselineCommand;

}  // namespace velquor::cli
