#include "app/ReleaseUpdate.h"

#include "app/BuildSettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace velquor::app {

namespace {

QString requiredString(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString()) throw UpdateError();
    return value.toString();
}

// The run of leading digits of a piece; a run too long for the type counts as 0 too.
qulonglong leadingNumber(QStringView piece) {
    qsizetype digits = 0;
    while (digits < piece.size() && piece[digits] >= u'0' && piece[digits] <= u'9') ++digits;
    bool parsed = false;
    const qulonglong number = piece.first(digits).toULongLong(&parsed);
    return parsed ? number : 0;
}

std::vector<qulonglong> versionNumbers(const QString& version) {
    std::vector<qulonglong> numbers;
    for (const QString& piece : version.split(u'.', Qt::SkipEmptyParts)) numbers.push_back(leadingNumber(piece));
    return numbers;
}

}  // namespace

ReleaseManifest decodeReleaseManifest(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) throw UpdateError();
    const QJsonObject object = document.object();
    ReleaseManifest manifest{
        .version = requiredString(object, "version"),
        .url = QUrl(requiredString(object, "url"), QUrl::StrictMode),
        .notes = requiredString(object, "notes"),
        .sha256 = requiredString(object, "sha256"),
    };
    if (!manifest.url.isValid() || manifest.url.isRelative()) throw UpdateError();
    return manifest;
}

bool isNewer(const QString& candidate, const QString& current) {
    const auto left = versionNumbers(candidate);
    const auto right = versionNumbers(current);
    const std::size_t length = std::max(left.size(), right.size());
    for (std::size_t index = 0; index < length; ++index) {
        const qulonglong a = index < left.size() ? left[index] : 0;
        const qulonglong b = index < right.size() ? right[index] : 0;
        if (a != b) return a > b;
    }
    return false;
}

bool isAcceptedManifestAddress(const QUrl& address) {
    if (!address.isValid() || address.host().isEmpty()) return false;
    if (address.scheme() == u"https") return true;
    return address.scheme() == u"http" && address.host() == u"127.0.0.1";
}

std::optional<QUrl> releaseManifestAddress() {
    const QString override = qEnvironmentVariable("VELQUOR_UPDATE_MANIFEST_URL");
    const QUrl address(override.isEmpty() ? QString::fromUtf8(buildReleaseManifestAddress) : override,
                       QUrl::StrictMode);
    if (!isAcceptedManifestAddress(address)) return std::nullopt;
    return address;
}

QUrl releaseDownloadAddress() { return QUrl(QString::fromUtf8(buildReleaseDownloadAddress)); }

QString runningVersion() { return QString::fromUtf8(buildVersion); }

}  // namespace velquor::app
