#pragma once

#include "Command.h"

namespace velquor::cli {

extern const Command textBaselineCommand;

}  // namespace velquor::cli
