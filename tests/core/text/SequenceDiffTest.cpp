#include <text/ChangedOffsets.h>
#include <text/SequenceDiff.h>

#include <gtest/gtest.h>

#include <random>

namespace velquor::text {
namespace {

using Symbols = std::vector<std::uint32_t>;

// Myers' greedy algorithm as he published it, with a full copy of V per round and no limits:
// the reference the production diff must agree with.
std::vector<std::size_t> textbookMyersInsertions(const Symbols& a, const Symbols& b) {
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
                std::vector<std::size_t> insertions;
                for (int e = d; e > 0; --e) {
                    const auto& previous = rounds[e - 1];
                    const int kk = x - y;
                    const bool down = kk == -e || (kk != e && previous[offset + kk - 1] < previous[offset + kk + 1]);
                    const int px = previous[offset + (down ? kk + 1 : kk - 1)];
                    const int py = px - (down ? kk + 1 : kk - 1);
                    if (down) insertions.insert(insertions.begin(), static_cast<std::size_t>(py));
                    x = px;
                    y = py;
                }
                return insertions;
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

// What is left of `after` without the insertions must be a subsequence of `before`.
bool isValidScript(const Symbols& before, const Symbols& after, const std::vector<std::size_t>& insertions) {
    std::size_t next = 0;
    std::size_t i = 0;
    for (std::size_t j = 0; j < after.size(); ++j) {
        if (next < insertions.size() && insertions[next] == j) {
            ++next;
            continue;
        }
        while (i < before.size() && before[i] != after[j]) ++i;
        if (i++ == before.size()) return false;
    }
    return next == insertions.size();
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
        const auto expected = textbookMyersInsertions(before, after);
        ASSERT_EQ(diffInsertions(before, after), expected) << "round " << round;
        ASSERT_EQ(expected.size(), after.size() - longestCommonSubsequence(before, after));
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
        const auto insertions = anchoredInsertions(pair.before, pair.after);
        ASSERT_TRUE(isValidScript(pair.before, pair.after, insertions));
        ASSERT_EQ(insertions.size(), pair.after.size() - longestCommonSubsequence(pair.before, pair.after));
    }
}

TEST(SequenceDiffTest, MyersGivesUpBeyondItsBudgetAndTheDiffStillAnswers) {
    std::mt19937 random(5);
    const auto before = randomSymbols(random, 3000, 2);
    const auto after = randomSymbols(random, 3000, 2);
    EXPECT_FALSE(myersInsertions(before, after, 10'000).has_value());
    EXPECT_TRUE(isValidScript(before, after, diffInsertions(before, after)));

    const auto pair = withSparseEdits(random, 2'000'000, 100);
    const auto insertions = diffInsertions(pair.before, pair.after);
    EXPECT_EQ(insertions.size(), pair.insertedSymbols);
    EXPECT_TRUE(isValidScript(pair.before, pair.after, insertions));
}

TEST(SequenceDiffTest, UnrelatedTextsCountAsInsertedWhole) {
    const Symbols before(100'000, 1);
    const Symbols after(100'000, 2);
    EXPECT_EQ(diffInsertions(before, after).size(), after.size());
    EXPECT_TRUE(diffInsertions(after, after).empty());
    EXPECT_EQ(diffInsertions({}, after).size(), after.size());
    EXPECT_TRUE(diffInsertions(before, {}).empty());
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
