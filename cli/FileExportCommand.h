#pragma once

#include "Command.h"

namespace velquor::cli {

extern const Command fileExportCommand;

}  // namespace velquor::cli
