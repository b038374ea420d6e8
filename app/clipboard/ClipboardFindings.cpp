#include "app/clipboard/ClipboardFindings.h"

#include "app/AppStatusTexts.h"
#include "app/QtText.h"
#include "app/clipboard/ClipboardFormats.h"

#include "core/text/regex/Regex.h"

#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace velquor::app {

namespace {

constexpr std::array<std::u16string_view, 4> sourceAttributeMarkers{u"sourceurl:", u"source-url", u"data-", u"mso-"};
constexpr std::u16string_view trackingPixelPattern =
    u"<img\\b[^>]*(?:width=[\"']?1[\"']?[^>]*height=[\"']?1|height=[\"']?1[\"']?[^>]*width=[\"']?1)[^>]*>";
constexpr std::u16string_view prefilledMailtoPattern = u"\\bmailto:[^\"'>\\s]+\\?(?:subject|body|cc|bcc)=";
constexpr std::u16string_view urlAnchorPattern =
    u"<a\\b[^>]*href=[\"'](https?://[^\"']+)[\"'][^>]*>(https?://[^<]+)</a>";
constexpr std::u16string_view urlPattern = u"https?://[^\"'<>\\s]+";

// The text of every whole match, case-insensitive and with dot matching line breaks; none when
// the pattern does not compile.
std::vector<QString> regexMatches(QStringView text, std::u16string_view pattern) {
    std::vector<QString> matches;
    const auto regex = text::Regex::compile(pattern, {.caseInsensitive = true, .dotMatchesLineSeparators = true});
    if (!regex) return matches;
    for (const auto& match : regex->allMatches(engineView(text)).matches) {
        matches.push_back(text.mid(match.range.utf16Location, match.range.utf16Length).toString());
    }
    return matches;
}

QString lowerHost(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() ? url.host().toLower() : QString();
}

// An anchor whose visible text is itself an address on another host than its href.
bool hasMismatchedLinks(QStringView html) {
    for (const auto& anchor : regexMatches(html, urlAnchorPattern)) {
        const auto urls = regexMatches(anchor, urlPattern);
        if (urls.size() < 2) continue;
        const auto target = lowerHost(urls[0]);
        const auto shown = lowerHost(urls[1]);
        if (target.isEmpty() || shown.isEmpty()) continue;
        if (target != shown) return true;
    }
    return false;
}

bool carriesSourceAttributes(const QString& html) {
    return std::any_of(sourceAttributeMarkers.begin(), sourceAttributeMarkers.end(), [&](std::u16string_view marker) {
        return html.contains(QStringView(marker.data(), static_cast<qsizetype>(marker.size())), Qt::CaseInsensitive);
    });
}

void appendHtmlFindings(const QMimeData& data, QStringList& findings) {
    findings.append(qtString(htmlFlavorFinding));
    const QByteArray bytes = data.data(htmlFormat);
    if (bytes.size() > clipboardFlavorByteLimit) {
        findings.append(qtString(htmlTooLargeFinding));
        return;
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString html = decoder.decode(bytes);
    if (decoder.hasError()) return;
    if (carriesSourceAttributes(html)) findings.append(qtString(htmlSourceAttributesFinding));
    if (!regexMatches(html, trackingPixelPattern).empty()) findings.append(qtString(htmlTrackingPixelFinding));
    if (!regexMatches(html, prefilledMailtoPattern).empty()) findings.append(qtString(htmlMailtoFinding));
    if (hasMismatchedLinks(html)) findings.append(qtString(htmlMismatchedLinkFinding));
}

}  // namespace

QStringList clipboardFlavorFindings(const QMimeData* data) {
    QStringList findings;
    if (!data) return findings;
    if (data->hasFormat(htmlFormat)) appendHtmlFindings(*data, findings);
    if (std::any_of(rtfFormats.begin(), rtfFormats.end(),
                    [&](const QString& format) { return data->hasFormat(format); })) {
        findings.append(qtString(rtfFlavorFinding));
    }
    for (const auto& flavor : namedFlavors) {
        if (data->hasFormat(flavor.format)) findings.append(qtString(namedFlavorFinding(flavor.name)));
    }
    findings.removeDuplicates();
    return findings;
}

}  // namespace velquor::app
