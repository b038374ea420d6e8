#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// A URL cut where its query starts and ends, each part a view of the original text, so that a
// rebuilt URL keeps everything it does not change byte for byte.
struct UrlParts {
    std::u16string_view beforeQuery;           // scheme, authority and path
    std::optional<std::u16string_view> query;  // after the "?", before any "#"
    std::u16string_view fragment;              // from the "#" on, or empty
};

UrlParts splitUrl(std::u16string_view url);

// The query's items as written, split at "&"; an empty query has none.
std::vector<std::u16string_view> queryItems(std::u16string_view query);

// The item's name (before the first "="), percent-decoded and lower-cased for comparison. A name
// whose escapes do not decode to UTF-8 is compared as written.
std::u16string comparableQueryItemName(std::u16string_view item);

}  // namespace velquor::text
