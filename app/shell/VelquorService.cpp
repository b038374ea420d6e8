#include "app/shell/VelquorService.h"

#include "app/AppModel.h"
#include "app/shell/OpenPaths.h"
#include "app/shell/SelectionCleaning.h"
#include "app/shell/SessionBus.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QMimeData>

namespace velquor::shell {

namespace {

// The primary selection's plain text; nothing where the platform has no primary selection or
// it holds no text.
std::optional<QString> primarySelectionText() {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    if (!clipboard.supportsSelection()) return std::nullopt;
    const QMimeData* data = clipboard.mimeData(QClipboard::Selection);
    if (!data || !data->hasText()) return std::nullopt;
    QString text = data->text();
    if (text.isEmpty()) return std::nullopt;
    return text;
}

bool writeClipboardText(const QString& text) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.setText(text, QClipboard::Clipboard);
    return clipboard.text(QClipboard::Clipboard) == text;
}

}  // namespace

VelquorService::VelquorService(app::AppModel& model, std::function<void()> showWindow, QObject* parent)
    : QObject(parent), model_(model), showWindow_(std::move(showWindow)) {}

bool VelquorService::registerOn(QDBusConnection connection) {
    if (!connection.isConnected()) return false;
    if (!connection.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportScriptableSlots)) {
        return false;
    }
    const auto reply = connection.interface()->registerService(QString::fromLatin1(serviceName),
                                                               QDBusConnectionInterface::DontQueueService,
                                                               QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) return true;
    connection.unregisterObject(QString::fromLatin1(objectPath));
    return false;
}

void VelquorService::failWith(const char* errorName, const char16_t* message) {
    if (calledFromDBus()) sendErrorReply(QString::fromLatin1(errorName), QString::fromUtf16(message));
}

QString VelquorService::CleanSelectedText(const QString& text) {
    const auto cleaned = cleanSelectedText(text);
    if (!cleaned) {
        failWith(noReadableTextError, noReadableSelectionMessage);
        return {};
    }
    return *cleaned;
}

void VelquorService::CleanSelection() {
    const auto selection = primarySelectionText();
    const auto cleaned = selection ? cleanSelectedText(*selection) : std::nullopt;
    if (!cleaned) {
        failWith(noReadableTextError, noReadableSelectionMessage);
        return;
    }
    if (!writeClipboardText(*cleaned)) failWith(couldNotReturnError, couldNotReturnMessage);
}

void VelquorService::InspectClipboard() {
    model_.inspectClipboard();
    showWindow_();
}

void VelquorService::CleanClipboard() { model_.sanitizeClipboardInPlace(); }

void VelquorService::RestorePreviousClipboard() { model_.restorePreviousClipboard(); }

void VelquorService::Show() { showWindow_(); }

void VelquorService::Open(const QStringList& paths) {
    openPaths(model_, paths);
    showWindow_();
}

}  // namespace velquor::shell
