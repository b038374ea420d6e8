#pragma once

#include "cli/Command.h"

namespace velquor::cli {

extern const Command textReviewCommand;

}  // namespace velquor::cli
