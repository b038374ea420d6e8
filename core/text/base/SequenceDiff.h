#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velquor::text {

// Sequences of symbols (grapheme clusters or words, each given a number) and an edit script that
// turns the first into the second.

// Both sides of an edit script: the indices into `before` that it removes and the indices into
// `after` that it inserts, each ascending. What neither lists is common to both, in order.
struct SequenceEdits {
    std::vector<std::size_t> removals;
    std::vector<std::size_t> insertions;

    friend bool operator==(const SequenceEdits&, const SequenceEdits&) = default;
};

// Myers' shortest edit script, preferring removals to insertions where both are shortest.
// Nothing when the search would take more than `stepBudget` steps; its cost grows with the
// length times the number of differences, and its memory with the square of the differences.
std::optional<SequenceEdits> myersEdits(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after,
                                        std::int64_t stepBudget);

// A diff that stays near-linear however many differences are spread through the sequences:
// after each difference it finds the nearest point where both sequences agree again for a
// stretch, and runs Myers only on the block in between. A block too costly for Myers counts as
// removed and inserted as a whole, so the script stays valid but may be longer than the shortest.
SequenceEdits anchoredEdits(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after);

// Myers' answer when the sequences differ in a few hundred places at most, the anchored one
// otherwise.
SequenceEdits diffEdits(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after);

// Only the insertions of diffEdits.
std::vector<std::size_t> diffInsertions(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after);

}  // namespace velquor::text
