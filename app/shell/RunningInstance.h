#pragma once

#include <QStringList>

namespace velquor::shell {

// Calls on the Velquor that owns the bus name. Each returns the exit status for this process:
// 0 when the call succeeded, 1 with the reason on standard error otherwise.
int handOverToRunningInstance(const QStringList& paths);
int cleanSelectionInRunningInstance();

}  // namespace velquor::shell
