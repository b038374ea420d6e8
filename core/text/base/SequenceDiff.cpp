#include "core/text/base/SequenceDiff.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velquor::text {

namespace {

using Symbols = std::span<const std::uint32_t>;

// Plain Myers gives the answer when the anchored diff shows at most this many differences (its
// memory grows with their square), within this many steps.
constexpr std::size_t plainMyersDifferences = 512;
constexpr std::int64_t plainMyersBudget = std::int64_t{1} << 22;
// A block between two anchors gets this many steps per symbol, and a few thousand besides, but
// never more than the cap: Myers keeps about half a step's worth of trace per step, so an
// uncapped block of millions of symbols could claim gigabytes.
constexpr std::int64_t blockStepsPerSymbol = 64;
constexpr std::int64_t blockBaseSteps = 4096;
constexpr std::int64_t maximumBlockSteps = std::int64_t{1} << 26;
// Both sequences must agree on this many symbols in a row to anchor there.
constexpr std::size_t windowLength = 16;
constexpr std::size_t firstSearchRadius = 16;
// Beyond this radius only a sample of the windows is indexed, which keeps the index small; the
// block then reaches a little past the true anchor, and Myers inside the block sorts that out.
constexpr std::size_t exactSearchRadius = 4096;
constexpr std::uint64_t hashMultiplier = 0x9E3779B97F4A7C15ULL;

std::size_t commonPrefixLength(Symbols before, Symbols after) {
    const auto limit = std::min(before.size(), after.size());
    std::size_t length = 0;
    while (length < limit && before[length] == after[length]) ++length;
    return length;
}

void appendRange(std::vector<std::size_t>& indices, std::size_t first, std::size_t end) {
    indices.reserve(indices.size() + (end - first));
    for (auto index = first; index < end; ++index) indices.push_back(index);
}

void appendShifted(std::vector<std::size_t>& indices, const std::vector<std::size_t>& block, std::size_t offset) {
    for (const auto index : block) indices.push_back(offset + index);
}

// An edit script as it is built. A caller that needs only the insertions has the removals
// counted instead of listed: when a long text loses most of its symbols, that list alone could
// take hundreds of megabytes.
struct EditScript {
    SequenceEdits edits;
    bool listsRemovals = true;
    std::size_t removalCount = 0;

    void remove(std::size_t first, std::size_t end) {
        removalCount += end - first;
        if (listsRemovals) appendRange(edits.removals, first, end);
    }
    void removeShifted(const std::vector<std::size_t>& block, std::size_t offset) {
        removalCount += block.size();
        if (listsRemovals) appendShifted(edits.removals, block, offset);
    }
    void insert(std::size_t first, std::size_t end) { appendRange(edits.insertions, first, end); }
    void insertShifted(const std::vector<std::size_t>& block, std::size_t offset) {
        appendShifted(edits.insertions, block, offset);
    }
    std::size_t differences() const { return removalCount + edits.insertions.size(); }
};

// Open addressing from window hash to the first offset where it occurs, cleared in constant
// time by bumping a generation. It takes at most half its capacity; further windows are left
// out, which can only make an anchor be found a little later.
class WindowIndex {
public:
    void reset(std::size_t expectedEntries) {
        std::size_t capacity = 64;
        while (capacity < 2 * expectedEntries) capacity *= 2;
        if (slots_.size() < capacity) slots_.resize(capacity);
        mask_ = capacity - 1;
        entries_ = 0;
        ++generation_;
    }

    void insertFirst(std::uint64_t hash, std::uint32_t offset) {
        if (2 * entries_ >= mask_ + 1) return;
        for (auto slot = hash & mask_;; slot = (slot + 1) & mask_) {
            auto& entry = slots_[slot];
            if (entry.generation != generation_) {
                entry = {hash, offset, generation_};
                ++entries_;
                return;
            }
            if (entry.hash == hash) return;
        }
    }

    std::optional<std::uint32_t> find(std::uint64_t hash) const {
        for (auto slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const auto& entry = slots_[slot];
            if (entry.generation != generation_) return std::nullopt;
            if (entry.hash == hash) return entry.offset;
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t offset = 0;
        std::uint64_t generation = 0;
    };
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t entries_ = 0;
    std::uint64_t generation_ = 0;
};

struct Anchor {
    std::size_t skipBefore;
    std::size_t skipAfter;
};

// Finds, from a point of difference, the nearest pair of offsets (least total skip) where the
// sequences agree for a whole window, searching ever wider.
class AnchorFinder {
public:
    AnchorFinder(Symbols before, Symbols after) : before_(before), after_(after) {
        std::uint64_t power = 1;
        for (std::size_t i = 1; i < windowLength; ++i) power *= hashMultiplier;
        leadingPower_ = power;
    }

    std::optional<Anchor> find(std::size_t inBefore, std::size_t inAfter) {
        const auto startsBefore = windowStarts(before_, inBefore);
        const auto startsAfter = windowStarts(after_, inAfter);
        if (startsBefore == 0 || startsAfter == 0) return std::nullopt;
        for (std::size_t radius = firstSearchRadius;; radius *= 2) {
            const auto countBefore = std::min(radius + 1, startsBefore);
            const auto countAfter = std::min(radius + 1, startsAfter);
            const bool widest = countBefore == startsBefore && countAfter == startsAfter;
            const auto best = nearestAnchor(inBefore, countBefore, inAfter, countAfter, radius);
            if (best && (best->skipBefore + best->skipAfter <= radius || widest)) return best;
            if (widest) return std::nullopt;
        }
    }

private:
    static std::size_t windowStarts(Symbols symbols, std::size_t from) {
        return symbols.size() - from >= windowLength ? symbols.size() - from - windowLength + 1 : 0;
    }

    // Calls visit(i, hash) for the first `count` windows from `from` on, while it returns true.
    // The hashes roll along and are never stored: a search may span millions of windows.
    template <class Visit>
    void forEachWindowHash(Symbols symbols, std::size_t from, std::size_t count, Visit visit) const {
        std::uint64_t hash = 0;
        for (std::size_t i = 0; i < windowLength; ++i) hash = hash * hashMultiplier + symbols[from + i];
        for (std::size_t i = 0;; ++i) {
            if (!visit(i, hash) || i + 1 == count) break;
            hash = (hash - symbols[from + i] * leadingPower_) * hashMultiplier + symbols[from + i + windowLength];
        }
    }

    bool windowsEqual(std::size_t inBefore, std::size_t inAfter) const {
        return std::equal(before_.begin() + static_cast<std::ptrdiff_t>(inBefore),
                          before_.begin() + static_cast<std::ptrdiff_t>(inBefore + windowLength),
                          after_.begin() + static_cast<std::ptrdiff_t>(inAfter));
    }

    std::optional<Anchor> nearestAnchor(std::size_t inBefore, std::size_t countBefore, std::size_t inAfter,
                                        std::size_t countAfter, std::size_t radius) {
        const std::uint64_t sampling = radius > exactSearchRadius ? radius / exactSearchRadius : 1;
        const auto sampled = [sampling](std::uint64_t hash) { return (hash >> 32) % sampling == 0; };
        index_.reset(std::min<std::size_t>(countAfter, 2 * exactSearchRadius + 2));
        forEachWindowHash(after_, inAfter, countAfter, [&](std::size_t j, std::uint64_t hash) {
            if (sampled(hash)) index_.insertFirst(hash, static_cast<std::uint32_t>(j));
            return true;
        });
        std::optional<Anchor> best;
        forEachWindowHash(before_, inBefore, countBefore, [&](std::size_t i, std::uint64_t hash) {
            if (best && i >= best->skipBefore + best->skipAfter) return false;
            if (!sampled(hash)) return true;
            const auto j = index_.find(hash);
            if (!j || !windowsEqual(inBefore + i, inAfter + *j)) return true;
            if (!best || i + *j < best->skipBefore + best->skipAfter) best = Anchor{i, *j};
            return true;
        });
        return best;
    }

    Symbols before_;
    Symbols after_;
    std::uint64_t leadingPower_ = 1;
    WindowIndex index_;
};

std::size_t commonSuffixLength(Symbols before, Symbols after) {
    const auto limit = std::min(before.size(), after.size());
    std::size_t length = 0;
    while (length < limit && before[before.size() - 1 - length] == after[after.size() - 1 - length]) ++length;
    return length;
}

// The edits of one block between anchors, added to `edits` at the block's offsets.
void appendBlockEdits(Symbols before, Symbols after, std::size_t beforeOffset, std::size_t afterOffset,
                      EditScript& script) {
    // A block's own common ends are no change; at the end of the texts they can be long.
    const auto prefix = commonPrefixLength(before, after);
    const auto suffix = commonSuffixLength(before.subspan(prefix), after.subspan(prefix));
    before = before.subspan(prefix, before.size() - prefix - suffix);
    after = after.subspan(prefix, after.size() - prefix - suffix);
    beforeOffset += prefix;
    afterOffset += prefix;
    if (before.empty() || after.empty()) {
        script.remove(beforeOffset, beforeOffset + before.size());
        script.insert(afterOffset, afterOffset + after.size());
        return;
    }
    const auto budget =
        std::min(blockStepsPerSymbol * static_cast<std::int64_t>(before.size() + after.size()) + blockBaseSteps,
                 maximumBlockSteps);
    // Myers needs at least as many rounds as the lengths differ, each dearer than the last.
    const auto lengthDifference = static_cast<double>(before.size()) - static_cast<double>(after.size());
    const bool affordable = lengthDifference * lengthDifference <= static_cast<double>(budget);
    const auto block = affordable ? myersEdits(before, after, budget) : std::nullopt;
    if (!block) {
        script.remove(beforeOffset, beforeOffset + before.size());
        script.insert(afterOffset, afterOffset + after.size());
        return;
    }
    script.removeShifted(block->removals, beforeOffset);
    script.insertShifted(block->insertions, afterOffset);
}

void appendAnchoredEdits(Symbols before, Symbols after, EditScript& script) {
    AnchorFinder anchors(before, after);
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < before.size() && j < after.size() && before[i] == after[j]) ++i, ++j;
        if (i == before.size() || j == after.size()) break;
        const auto anchor = anchors.find(i, j);
        const auto endBefore = anchor ? i + anchor->skipBefore : before.size();
        const auto endAfter = anchor ? j + anchor->skipAfter : after.size();
        appendBlockEdits(before.subspan(i, endBefore - i), after.subspan(j, endAfter - j), i, j, script);
        i = endBefore;
        j = endAfter;
    }
    script.remove(i, before.size());
    script.insert(j, after.size());
}

EditScript diffScript(Symbols before, Symbols after, bool listsRemovals) {
    EditScript script{.edits = {}, .listsRemovals = listsRemovals};
    // Myers' first move follows the common prefix, so setting it aside changes nothing.
    const auto prefix = commonPrefixLength(before, after);
    if (prefix == before.size() || prefix == after.size()) {
        script.remove(prefix, before.size());
        script.insert(prefix, after.size());
        return script;
    }
    // The anchored script is valid, so Myers' shortest one has no more differences than it.
    appendAnchoredEdits(before.subspan(prefix), after.subspan(prefix), script);
    auto& edits = script.edits;
    if (script.differences() <= plainMyersDifferences) {
        if (auto shortest = myersEdits(before.subspan(prefix), after.subspan(prefix), plainMyersBudget)) {
            edits = std::move(*shortest);
        }
    }
    for (auto& index : edits.removals) index += prefix;
    for (auto& index : edits.insertions) index += prefix;
    return script;
}

}  // namespace

std::optional<SequenceEdits> myersEdits(Symbols before, Symbols after, std::int64_t stepBudget) {
    constexpr auto indexLimit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2);
    if (before.size() > indexLimit || after.size() > indexLimit) return std::nullopt;
    const auto n = static_cast<std::int64_t>(before.size());
    const auto m = static_cast<std::int64_t>(after.size());
    // Round d costs at least 2d + 1 steps, so the budget bounds how far d can go.
    const auto dLimit = std::min<std::int64_t>(n + m, static_cast<std::int64_t>(std::sqrt(double(stepBudget))) + 1);
    std::vector<std::int32_t> v(static_cast<std::size_t>(2 * dLimit + 3), 0);
    const auto at = [&](std::int64_t k) -> std::int32_t& { return v[static_cast<std::size_t>(k + dLimit + 1)]; };
    // Round d's furthest points for k = -d, -d + 2, ..., d, kept for walking back; round d
    // starts at d (d + 1) / 2.
    std::vector<std::int32_t> trace;
    trace.reserve(static_cast<std::size_t>(std::min<std::int64_t>(stepBudget, (dLimit + 1) * (dLimit + 2) / 2)));
    std::int64_t steps = 0;
    std::int64_t finalRound = -1;
    for (std::int64_t d = 0; d <= dLimit && finalRound < 0; ++d) {
        for (std::int64_t k = -d; k <= d; k += 2) {
            const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
            std::int64_t x = down ? at(k + 1) : at(k - 1) + 1;
            std::int64_t y = x - k;
            while (x < n && y < m && before[static_cast<std::size_t>(x)] == after[static_cast<std::size_t>(y)]) {
                ++x, ++y, ++steps;
            }
            at(k) = static_cast<std::int32_t>(x);
            if (++steps > stepBudget) return std::nullopt;
            if (x >= n && y >= m) finalRound = d;
        }
        for (std::int64_t k = -d; k <= d; k += 2) trace.push_back(at(k));
    }
    if (finalRound < 0) return std::nullopt;

    SequenceEdits edits;
    std::int64_t x = n;
    std::int64_t y = m;
    for (std::int64_t d = finalRound; d > 0; --d) {
        const auto previous = [&](std::int64_t k) {
            return trace[static_cast<std::size_t>((d - 1) * d / 2 + (k + d - 1) / 2)];
        };
        const auto k = x - y;
        const bool down = k == -d || (k != d && previous(k - 1) < previous(k + 1));
        const auto previousK = down ? k + 1 : k - 1;
        const std::int64_t previousX = previous(previousK);
        const std::int64_t previousY = previousX - previousK;
        if (down) {
            edits.insertions.push_back(static_cast<std::size_t>(previousY));
        } else {
            edits.removals.push_back(static_cast<std::size_t>(previousX));
        }
        x = previousX;
        y = previousY;
    }
    std::reverse(edits.removals.begin(), edits.removals.end());
    std::reverse(edits.insertions.begin(), edits.insertions.end());
    return edits;
}

SequenceEdits anchoredEdits(Symbols before, Symbols after) {
    EditScript script;
    appendAnchoredEdits(before, after, script);
    return std::move(script.edits);
}

SequenceEdits diffEdits(Symbols before, Symbols after) { return std::move(diffScript(before, after, true).edits); }

std::vector<std::size_t> diffInsertions(Symbols before, Symbols after) {
    return std::move(diffScript(before, after, false).edits.insertions);
}

}  // namespace velquor::text
