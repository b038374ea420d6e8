#include "core/text/base/GraphemeClusters.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/IcuText.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>

#include <memory>
#include <stdexcept>

namespace velquor::text {

namespace {

// A character break iterator that is pointed at one stretch of text after another.
class IcuBreakIterator {
public:
    IcuBreakIterator() {
        UErrorCode status = U_ZERO_ERROR;
        iterator_.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !iterator_) throw std::runtime_error("ICU character break iterator is unavailable");
    }

    // Visits the end of every cluster of the stretch, offset by `base`.
    template <class Visit>
    void forEachEnd(std::u16string_view stretch, std::size_t base, Visit& visit) {
        source_ = aliasOf(stretch);
        iterator_->setText(source_);
        iterator_->first();
        for (auto boundary = iterator_->next(); boundary != icu::BreakIterator::DONE; boundary = iterator_->next()) {
            visit(base + static_cast<std::size_t>(boundary));
        }
    }

private:
    icu::UnicodeString source_;
    std::unique_ptr<icu::BreakIterator> iterator_;
};

// Two ASCII units are always separate characters, except CR LF: no ASCII scalar extends, joins
// or is prepended to another. ICU only has to look at the stretches around non-ASCII text, and
// a stretch that starts and ends at such a certain boundary breaks exactly as inside the text.
bool isCertainBoundary(std::u16string_view text, std::size_t offset) {
    return offset == text.size() || (isAscii(text[offset - 1]) && isAscii(text[offset]) &&
                                     !(text[offset - 1] == u'\r' && text[offset] == u'\n'));
}

template <class Visit>
void visitClusterEnds(std::u16string_view text, Visit visit) {
    std::unique_ptr<IcuBreakIterator> icu;
    for (std::size_t start = 0; start < text.size();) {
        const bool nextIsAscii = start + 1 == text.size() || isAscii(text[start + 1]);
        if (isAscii(text[start]) && nextIsAscii) {
            const std::size_t end =
                text[start] == u'\r' && start + 1 < text.size() && text[start + 1] == u'\n' ? start + 2 : start + 1;
            visit(end);
            start = end;
            continue;
        }
        std::size_t end = start + 1;
        while (!isCertainBoundary(text, end)) ++end;
        if (!icu) icu = std::make_unique<IcuBreakIterator>();
        icu->forEachEnd(text.substr(start, end - start), start, visit);
        start = end;
    }
}

}  // namespace

std::int64_t graphemeClusterCount(std::u16string_view text) {
    std::int64_t clusters = 0;
    visitClusterEnds(text, [&](std::size_t) { ++clusters; });
    return clusters;
}

std::vector<std::int64_t> graphemeClusterBoundaries(std::u16string_view text) {
    std::vector<std::int64_t> boundaries{0};
    visitClusterEnds(text, [&](std::size_t end) { boundaries.push_back(static_cast<std::int64_t>(end)); });
    return boundaries;
}

void forEachGraphemeClusterEnd(std::u16string_view text, const std::function<void(std::size_t)>& visit) {
    visitClusterEnds(text, visit);
}

}  // namespace velquor::text
