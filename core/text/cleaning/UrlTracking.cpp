#include "core/text/cleaning/UrlTracking.h"

#include "core/text/cleaning/UrlComponents.h"
#include "core/text/regex/Regex.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace velquor::text {

namespace {

constexpr std::array<std::u16string_view, 14> trackingQueryNames{
    u"fbclid", u"gclid",   u"dclid", u"msclkid", u"igshid",  u"mc_cid",    u"mc_eid",
    u"ref",    u"ref_src", u"spm",   u"yclid",   u"vero_id", u"ga_source", u"ga_medium",
};

constexpr std::u16string_view urlPattern = uR"(https?://[^\s<>"']+)";

bool isPeeledPunctuation(char16_t unit) {
    return unit == u'.' || unit == u',' || unit == u')' || unit == u';' || unit == u']';
}

const std::optional<Regex>& compiledUrlPattern() {
    static const std::optional<Regex> compiled = Regex::compile(urlPattern, {.caseInsensitive = true});
    return compiled;
}

}  // namespace

bool isTrackingQueryName(std::u16string_view lowercasedName) {
    return lowercasedName.starts_with(u"utm_") ||
           std::find(trackingQueryNames.begin(), trackingQueryNames.end(), lowercasedName) != trackingQueryNames.end();
}

SanitizedUrl sanitizedURL(std::u16string_view url) {
    auto body = url;
    while (!body.empty() && isPeeledPunctuation(body.back())) body.remove_suffix(1);
    const auto suffix = url.substr(body.size());

    const auto parts = splitUrl(body);
    if (!parts.query) return {std::u16string(url), 0};
    const auto items = queryItems(*parts.query);
    std::vector<std::u16string_view> kept;
    for (const auto item : items) {
        if (!isTrackingQueryName(comparableQueryItemName(item))) kept.push_back(item);
    }
    const auto stripped = static_cast<std::int64_t>(items.size() - kept.size());
    if (stripped == 0) return {std::u16string(url), 0};

    std::u16string rebuilt(parts.beforeQuery);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        rebuilt += i == 0 ? u'?' : u'&';
        rebuilt += kept[i];
    }
    rebuilt += parts.fragment;
    rebuilt += suffix;
    return {std::move(rebuilt), stripped};
}

TrackingRemoval stripURLTracking(std::u16string_view text) {
    const auto& pattern = compiledUrlPattern();
    if (!pattern) return {std::u16string(text), 0};
    const auto scan = pattern->allMatches(text);
    TrackingRemoval result;
    result.text.reserve(text.size());
    std::size_t copied = 0;
    for (const auto& match : scan.matches) {
        const auto start = static_cast<std::size_t>(match.range.utf16Location);
        const auto length = static_cast<std::size_t>(match.range.utf16Length);
        auto sanitized = sanitizedURL(text.substr(start, length));
        if (sanitized.strippedParameters == 0) continue;
        result.text += text.substr(copied, start - copied);
        result.text += sanitized.url;
        result.strippedParameters += sanitized.strippedParameters;
        copied = start + length;
    }
    result.text += text.substr(copied);
    return result;
}

}  // namespace velquor::text
