// The manual update check: fetch the maker's release manifest, compare its version with the
// running one, keep the outcome in updateState and, on request, tell the user.
#include "app/AppModel.h"

#include "app/Desktop.h"
#include "app/ReleaseUpdate.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace velquor::app {

namespace {

QNetworkRequest manifestRequest(const QUrl& address) {
    QNetworkRequest request(address);
    // Always ask the server: a cached manifest could hide a release.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    return request;
}

// The manifest of a finished reply; throws UpdateError for any answer but a 200 with a
// well-formed body, and for a redirect that left the accepted addresses.
ReleaseManifest manifestOf(QNetworkReply& reply) {
    if (reply.error() != QNetworkReply::NoError) throw UpdateError();
    if (!isAcceptedManifestAddress(reply.url())) throw UpdateError();
    if (reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) throw UpdateError();
    const QByteArray body = reply.read(releaseManifestByteLimit + 1);
    if (body.size() > releaseManifestByteLimit) throw UpdateError();
    return decodeReleaseManifest(body);
}

}  // namespace

void AppModel::setUpdateState(AppUpdateState state) {
    assign(updateState_, std::move(state), &AppModel::updateStateChanged);
}

void AppModel::checkForUpdates(bool presentResult) {
    if (std::holds_alternative<AppUpdateState::Checking>(updateState_.value)) return;
    setUpdateState({AppUpdateState::Checking{}});
    const auto address = releaseManifestAddress();
    if (!address) {
        // A queued end, so that a caller sees the check start and finish like any other.
        QTimer::singleShot(0, this, [this, presentResult] { finishUpdateCheck(std::nullopt, presentResult); });
        return;
    }
    if (!network_) network_ = new QNetworkAccessManager(this);
    QNetworkReply* reply = network_->get(manifestRequest(*address));
    // A body beyond the limit ends the check at once instead of being downloaded.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > releaseManifestByteLimit) reply->abort();
    });
    // The whole exchange has one deadline, so a server that trickles bytes cannot hold it open.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(updateCheckTimeout_);
    connect(reply, &QNetworkReply::finished, this, [this, reply, presentResult] {
        reply->deleteLater();
        std::optional<ReleaseManifest> manifest;
        try {
            manifest = manifestOf(*reply);
        } catch (const UpdateError&) {
        }
        finishUpdateCheck(std::move(manifest), presentResult);
    });
}

void AppModel::finishUpdateCheck(std::optional<ReleaseManifest> manifest, bool presentResult) {
    if (!manifest) {
        setUpdateState({AppUpdateState::Failed{QString::fromUtf16(updateCheckFailedMessage)}});
    } else if (isNewer(manifest->version, runningVersion())) {
        setUpdateState({AppUpdateState::Available{std::move(*manifest)}});
    } else {
        setUpdateState({AppUpdateState::Current{runningVersion()}});
    }
    if (presentResult) presentUpdateResult();
}

void AppModel::presentUpdateResult() {
    if (const auto* available = std::get_if<AppUpdateState::Available>(&updateState_.value)) {
        const Alert alert{
            .message = QStringLiteral("Velquor %1 is available").arg(available->manifest.version),
            .informativeText = available->manifest.notes,
            .buttons = {QStringLiteral("Download"), QStringLiteral("Not now")},
        };
        if (desktop_.showAlert(alert) == 0) downloadAvailableUpdate();
    } else if (const auto* current = std::get_if<AppUpdateState::Current>(&updateState_.value)) {
        desktop_.showAlert({
            .message = QStringLiteral("Velquor is up to date"),
            .informativeText = QStringLiteral("Version %1 is the latest version.").arg(current->version),
            .buttons = {QStringLiteral("OK")},
        });
    } else if (const auto* failed = std::get_if<AppUpdateState::Failed>(&updateState_.value)) {
        desktop_.showAlert({
            .message = QStringLiteral("Update check failed"),
            .informativeText = failed->message,
            .buttons = {QStringLiteral("OK")},
        });
    }
}

// The build's download page, never the manifest's own address.
void AppModel::downloadAvailableUpdate() {
    if (std::holds_alternative<AppUpdateState::Available>(updateState_.value)) {
        desktop_.openAddress(releaseDownloadAddress());
    }
}

}  // namespace velquor::app
