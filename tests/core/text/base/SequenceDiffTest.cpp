#include "core/text/base/SequenceDiff.h"
#include "core/text/cleaning/ChangedOffsets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

namespace velquor::text {
namespace {

using Symbols = std::vector<std::uint32_t>;

// Myers' greedy algorithm as he published it, with a full copy of V per round and no limits:
// the reference the production diff must agree with.
SequenceEdits textbookMyers(const Symbols& a, const Symbols& b) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int offset = n + m + 1;
    std::vector<int> v(2 * offset + 1, 0);
    std::vector<std::vector<int>> rounds;
    for (int d = 0; d <= n + m; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                   : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) ++x, ++y;
            v[offset + k] = x;
            if (x >= n && y >= m) {
                rounds.push_back(v);
                SequenceEdits edits;
                for (int e = d; e > 0; --e) {
                    const auto& previous = rounds[e - 1];
                    const int kk = x - y;
                    const bool down = kk == -e || (kk != e && previous[offset + kk - 1] < previous[offset + kk + 1]);
                    const int px = previous[offset + (down ? kk + 1 : kk - 1)];
                    const int py = px - (down ? kk + 1 : kk - 1);
                    if (down) {
                        edits.insertions.insert(edits.insertions.begin(), static_cast<std::size_t>(py));
                    } else {
                        edits.removals.insert(edits.removals.begin(), static_cast<std::size_t>(px));
                    }
                    x = px;
                    y = py;
                }
                return edits;
            }
        }
        rounds.push_back(v);
    }
    return {};
}

std::size_t longestCommonSubsequence(const Symbols& a, const Symbols& b) {
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (const auto symbol : a) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const auto above = row[j];
            row[j] = symbol == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

// What is left of `before` without the removals must equal what is left of `after` without the
// insertions.
bool isValidScript(const Symbols& before, const Symbols& after, const SequenceEdits& edits) {
    const auto kept = [](const Symbols& symbols, const std::vector<std::size_t>& dropped) {
        if (!std::is_sorted(dropped.begin(), dropped.end()) ||
            std::adjacent_find(dropped.begin(), dropped.end()) != dropped.end() ||
            (!dropped.empty() && dropped.back() >= symbols.size())) {
            return std::optional<Symbols>();
        }
        Symbols rest;
        std::size_t next = 0;
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            if (next < dropped.size() && dropped[next] == i) {
                ++next;
            } else {
                rest.push_back(symbols[i]);
            }
        }
        return std::optional<Symbols>(std::move(rest));
    };
    const auto keptBefore = kept(before, edits.removals);
    const auto keptAfter = kept(after, edits.insertions);
    return keptBefore && keptAfter && *keptBefore == *keptAfter;
}

Symbols randomSymbols(std::mt19937& random, std::size_t length, std::uint32_t alphabet) {
    std::uniform_int_distribution<std::uint32_t> symbol(0, alphabet - 1);
    Symbols symbols(length);
    for (auto& s : symbols) s = symbol(random);
    return symbols;
}

TEST(SequenceDiffTest, EqualsTextbookMyersOnSmallInputs) {
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> length(0, 40);
    for (int round = 0; round < 20'000; ++round) {
        const std::uint32_t alphabet = round % 3 == 0 ? 2 : (round % 3 == 1 ? 4 : 26);
        const auto before = randomSymbols(random, length(random), alphabet);
        const auto after = randomSymbols(random, length(random), alphabet);
        const auto expected = textbookMyers(before, after);
        ASSERT_EQ(diffEdits(before, after), expected) << "round " << round;
        const auto common = longestCommonSubsequence(before, after);
        ASSERT_EQ(expected.insertions.size(), after.size() - common);
        ASSERT_EQ(expected.removals.size(), before.size() - common);
    }
}

// Edits spread through a long sequence, each separated from the next by unchanged symbols.
struct EditedPair {
    Symbols before;
    Symbols after;
    std::size_t insertedSymbols = 0;
};

EditedPair withSparseEdits(std::mt19937& random, std::size_t length, std::size_t gap) {
    EditedPair pair{randomSymbols(random, length, 1000), {}, 0};
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_int_distribution<std::size_t> size(1, 6);
    for (std::size_t i = 0; i < pair.before.size();) {
        const auto keep = std::min(gap, pair.before.size() - i);
        pair.after.insert(pair.after.end(), pair.before.begin() + i, pair.before.begin() + i + keep);
        i += keep;
        const auto removed = kind(random) == 0 ? 0 : std::min(size(random), pair.before.size() - i);
        const auto inserted = kind(random) == 1 ? 0 : size(random);
        i += removed;
        for (std::size_t k = 0; k < inserted; ++k) pair.after.push_back(1000 + k);
        pair.insertedSymbols += inserted;
    }
    return pair;
}

TEST(SequenceDiffTest, AnchoredDiffIsValidAndShortestWhenEditsAreApart) {
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        const auto pair = withSparseEdits(random, 1500, 40);
        const auto edits = anchoredEdits(pair.before, pair.after);
        ASSERT_TRUE(isValidScript(pair.before, pair.after, edits));
        const auto common = longestCommonSubsequence(pair.before, pair.after);
        ASSERT_EQ(edits.insertions.size(), pair.after.size() - common);
        ASSERT_EQ(edits.removals.size(), pair.before.size() - common);
    }
}

TEST(SequenceDiffTest, MyersGivesUpBeyondItsBudgetAndTheDiffStillAnswers) {
    std::mt19937 random(5);
    const auto before = randomSymbols(random, 3000, 2);
    const auto after = randomSymbols(random, 3000, 2);
    EXPECT_FALSE(myersEdits(before, after, 10'000).has_value());
    EXPECT_TRUE(isValidScript(before, after, diffEdits(before, after)));

    const auto pair = withSparseEdits(random, 2'000'000, 100);
    const auto edits = diffEdits(pair.before, pair.after);
    EXPECT_EQ(edits.insertions.size(), pair.insertedSymbols);
    EXPECT_TRUE(isValidScript(pair.before, pair.after, edits));
}

// Only the insertions are wanted when cleaning, and the removals are then counted, not listed;
// the count still decides whether the shortest script is sought, so both must agree everywhere.
TEST(SequenceDiffTest, InsertionsAloneAreTheInsertionsOfTheWholeDiff) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> length(0, 60);
    for (int round = 0; round < 2'000; ++round) {
        const auto before = randomSymbols(random, length(random), round % 2 == 0 ? 3 : 30);
        const auto after = randomSymbols(random, length(random), round % 2 == 0 ? 3 : 30);
        ASSERT_EQ(diffInsertions(before, after), diffEdits(before, after).insertions) << "round " << round;
    }
    for (const std::size_t gap : {8, 20, 40, 400}) {
        const auto pair = withSparseEdits(random, 20'000, gap);
        EXPECT_EQ(diffInsertions(pair.before, pair.after), diffEdits(pair.before, pair.after).insertions) << gap;
    }
    // A hidden scalar after every two letters, all removed: no window of common symbols is long
    // enough to anchor on.
    Symbols hidden;
    Symbols shown;
    for (std::uint32_t i = 0; i < 300'000; ++i) {
        hidden.push_back(i % 2 == 0 ? 'a' : 'b');
        shown.push_back(hidden.back());
        if (i % 2 == 1) hidden.push_back(0x200B);
    }
    const auto whole = diffEdits(hidden, shown);
    EXPECT_EQ(diffInsertions(hidden, shown), whole.insertions);
    EXPECT_TRUE(isValidScript(hidden, shown, whole));
}

TEST(SequenceDiffTest, UnrelatedTextsCountAsReplacedWhole) {
    const Symbols before(100'000, 1);
    const Symbols after(100'000, 2);
    const auto replaced = diffEdits(before, after);
    EXPECT_EQ(replaced.removals.size(), before.size());
    EXPECT_EQ(replaced.insertions.size(), after.size());
    EXPECT_EQ(diffEdits(after, after), SequenceEdits{});
    EXPECT_EQ(diffEdits({}, after).insertions.size(), after.size());
    EXPECT_TRUE(diffEdits({}, after).removals.empty());
    EXPECT_EQ(diffEdits(before, {}).removals.size(), before.size());
    EXPECT_TRUE(diffEdits(before, {}).insertions.empty());
}

TEST(SequenceDiffTest, ChangedOffsetsCompareWholeCharacters) {
    // e + combining acute is one character; so is the flag; only the changed ones are new.
    const auto accent = changedOutputOffsets(u"cafe\u0301 \U0001F1E9\U0001F1F0!", u"cafe \U0001F1E9\U0001F1F0.");
    EXPECT_EQ(accent.offsets, (std::vector<std::int64_t>{3, 6}));
    EXPECT_EQ(accent.inputCharacters, 7);
    EXPECT_EQ(accent.outputCharacters, 7);
    EXPECT_TRUE(changedOutputOffsets(u"same", u"same").offsets.empty());
    EXPECT_EQ(changedOutputOffsets(u"", u"ab").offsets, (std::vector<std::int64_t>{0, 1}));
}

}  // namespace
}  // namespace velquor::text
