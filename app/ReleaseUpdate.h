#pragma once

#include "app/AppUpdateState.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>
#include <stdexcept>

namespace velquor::app {

// Anything but a 200 answer with a well-formed manifest.
class UpdateError : public std::runtime_error {
public:
    UpdateError() : std::runtime_error("The update server returned an invalid response.") {}
};

// What every failed check tells the user; the cause itself is never shown.
inline constexpr char16_t updateCheckFailedMessage[] =
    u"Could not check for updates. Check your connection and try again.";

// A manifest body is a few hundred bytes; anything longer is refused unread.
inline constexpr qint64 releaseManifestByteLimit = 65'536;

// The four keys as strings, the address a valid absolute URL; extra keys are ignored. Throws
// UpdateError for anything else.
ReleaseManifest decodeReleaseManifest(const QByteArray& body);

// Dot-separated versions compared as lists of numbers: each piece counts by its leading digits
// (0 when it has none), a missing piece counts as 0.
bool isNewer(const QString& candidate, const QString& current);

// The release manifest is fetched over HTTPS only; the loopback exception lets tests serve it.
bool isAcceptedManifestAddress(const QUrl& address);

// The build's manifest address, or the one VELQUOR_UPDATE_MANIFEST_URL names; nothing when that
// variable names an address that is not accepted.
std::optional<QUrl> releaseManifestAddress();

// The build's fixed addresses and the running version.
QUrl releaseDownloadAddress();
QString runningVersion();

}  // namespace velquor::app
