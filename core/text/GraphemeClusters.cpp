#include "GraphemeClusters.h"

#include "IcuText.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>

#include <memory>
#include <stdexcept>

namespace velquor::text {

namespace {

// A character break iterator bound to one text, which must outlive it.
class IcuBreakIterator {
public:
    explicit IcuBreakIterator(std::u16string_view text) : source_(aliasOf(text)) {
        UErrorCode status = U_ZERO_ERROR;
        iterator_.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !iterator_) throw std::runtime_error("ICU character break iterator is unavailable");
        iterator_->setText(source_);
    }

    template <class Visit>
    void forEachBoundary(Visit visit) {
        for (auto boundary = iterator_->first(); boundary != icu::BreakIterator::DONE; boundary = iterator_->next()) {
            visit(static_cast<std::int64_t>(boundary));
        }
    }

private:
    icu::UnicodeString source_;
    std::unique_ptr<icu::BreakIterator> iterator_;
};

}  // namespace

std::int64_t graphemeClusterCount(std::u16string_view text) {
    if (text.empty()) return 0;
    std::int64_t boundaries = 0;
    IcuBreakIterator(text).forEachBoundary([&](std::int64_t) { ++boundaries; });
    return boundaries - 1;
}

std::vector<std::int64_t> graphemeClusterBoundaries(std::u16string_view text) {
    std::vector<std::int64_t> boundaries;
    if (text.empty()) return {0};
    IcuBreakIterator(text).forEachBoundary([&](std::int64_t boundary) { boundaries.push_back(boundary); });
    return boundaries;
}

}  // namespace velquor::text
