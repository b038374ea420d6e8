#include "app/shell/RunningInstance.h"

#include "app/shell/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <cstdio>

namespace velquor::shell {

namespace {

// Long enough for the bus to start Velquor and for it to clean a large selection.
constexpr int callTimeoutMs = 60'000;

int call(const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(serviceName), QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName), method);
    message.setArguments(arguments);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage) return 0;
    std::fprintf(stderr, "velquor: %s\n", qUtf8Printable(reply.errorMessage()));
    return 1;
}

}  // namespace

int handOverToRunningInstance(const QStringList& paths) {
    if (paths.isEmpty()) return call(QStringLiteral("Show"), {});
    return call(QStringLiteral("Open"), {paths});
}

int cleanSelectionInRunningInstance() { return call(QStringLiteral("CleanSelection"), {}); }

}  // namespace velquor::shell
