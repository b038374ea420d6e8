#include "core/files/EntryOrder.h"

#include "core/text/base/IcuText.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <algorithm>
#include <memory>

namespace velquor::files {

namespace {

// Built once; ICU collators may be shared between threads for comparing.
const icu::Collator* displayCollator() {
    static const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !made) return std::unique_ptr<icu::Collator>();
        made->setStrength(icu::Collator::SECONDARY);
        made->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        return U_SUCCESS(status) ? std::move(made) : std::unique_ptr<icu::Collator>();
    }();
    return collator.get();
}

}  // namespace

int compareNamesForDisplay(std::u16string_view a, std::u16string_view b) {
    if (const auto* collator = displayCollator()) {
        UErrorCode status = U_ZERO_ERROR;
        const auto result = collator->compare(text::aliasOf(a), text::aliasOf(b), status);
        if (U_SUCCESS(status)) return static_cast<int>(result);
    }
    return a.compare(b);
}

void sortEntries(std::vector<FileMetadataEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const FileMetadataEntry& a, const FileMetadataEntry& b) {
        if (a.section != b.section) return a.section < b.section;
        return compareNamesForDisplay(a.name, b.name) < 0;
    });
}

}  // namespace velquor::files
