#pragma once

#include "Command.h"

namespace velquor::cli {

extern const Command textReviewCommand;

}  // namespace velquor::cli
