#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace velquor::shell {

// While it lives, SIGINT, SIGTERM and SIGHUP (the terminal Velquor was started from closed) quit
// the application through its event loop instead of ending the process where it stands: the
// window closes, and the copy in hand is finished or its staged file removed before the process
// exits, because the application waits for its background tasks. A second signal ends the
// process as usual. One at a time.
class QuitOnSignals : public QObject {
    Q_OBJECT

public:
    QuitOnSignals();
    ~QuitOnSignals() override;
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace velquor::shell
