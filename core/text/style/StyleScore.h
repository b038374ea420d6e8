#pragma once

#include "core/text/records/StyleReport.h"

#include <cstdint>
#include <vector>

namespace velquor::text {

struct StyleScore {
    std::int64_t score = 0;
    StyleReport::Level level = StyleReport::Level::low;

    friend bool operator==(const StyleScore&, const StyleScore&) = default;
};

// Each fired signal adds min(count, 5) times its weight: 18 for an assistant outro, which is
// workflow residue rather than style, 8 for every other signal. The score stops at 100; the
// level reads the uncapped total.
StyleScore styleScore(const std::vector<StyleSignal>& signals);

}  // namespace velquor::text
