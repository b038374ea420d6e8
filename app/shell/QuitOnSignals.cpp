#include "app/shell/QuitOnSignals.h"

#include <QCoreApplication>

#include <unistd.h>

namespace velquor::shell {

QuitOnSignals::QuitOnSignals() : notifier_(signals_.readEnd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signals_.readEnd(), &byte, 1);
        notifier_.setEnabled(false);
        QCoreApplication::quit();
    });
}

}  // namespace velquor::shell
