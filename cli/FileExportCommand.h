#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command fileExportCommand;

}  // namespace velquor::cli
