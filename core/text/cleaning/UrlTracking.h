#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::text {

// Whether a query parameter, by its lower-cased name, identifies a campaign, a click or a referrer.
bool isTrackingQueryName(std::u16string_view lowercasedName);

struct SanitizedUrl {
    std::u16string url;
    std::int64_t strippedParameters = 0;
};

// The URL without its tracking parameters. Trailing punctuation that closes a sentence or a
// bracket stays after it; the kept parameters keep their order and their exact text, and a
// query left empty loses its "?". A URL without tracking parameters comes back unchanged.
SanitizedUrl sanitizedURL(std::u16string_view url);

struct TrackingRemoval {
    std::u16string text;
    std::int64_t strippedParameters = 0;
};

// Every http and https URL of the text sanitized.
TrackingRemoval stripURLTracking(std::u16string_view text);

}  // namespace velquor::text
