#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velquor::text {

// Sequences of symbols (grapheme clusters, each given a number) and where the second one has
// insertions relative to the first: the indices into `after` that an edit script inserts,
// ascending. Removals are not reported.

// Myers' shortest edit script, preferring removals to insertions where both are shortest.
// Nothing when the search would take more than `stepBudget` steps; its cost grows with the
// length times the number of differences, and its memory with the square of the differences.
std::optional<std::vector<std::size_t>> myersInsertions(std::span<const std::uint32_t> before,
                                                        std::span<const std::uint32_t> after,
                                                        std::int64_t stepBudget);

// A diff that stays near-linear however many differences are spread through the sequences:
// after each difference it finds the nearest point where both sequences agree again for a
// stretch, and runs Myers only on the block in between. A block too costly for Myers counts as
// inserted as a whole.
std::vector<std::size_t> anchoredInsertions(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after);

// Myers' answer when the sequences differ in a few hundred places at most, the anchored one
// otherwise.
std::vector<std::size_t> diffInsertions(std::span<const std::uint32_t> before, std::span<const std::uint32_t> after);

}  // namespace velquor::text
