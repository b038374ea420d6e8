#pragma once

#include "core/posix/StopSignalPipe.h"

#include <QObject>
#include <QSocketNotifier>

namespace velquor::shell {

// While it lives, SIGINT, SIGTERM and SIGHUP (the terminal Velquor was started from closed) quit
// the application through its event loop instead of ending the process where it stands: the
// window closes, and the copy in hand is finished or its staged file removed before the process
// exits, because the application waits for its background tasks. A second signal ends the
// process as usual.
class QuitOnSignals : public QObject {
    Q_OBJECT

public:
    QuitOnSignals();

private:
    posix::StopSignalPipe signals_;
    QSocketNotifier notifier_;
};

}  // namespace velquor::shell
