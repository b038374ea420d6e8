#include "core/text/cleaning/ChangedOffsets.h"

#include "core/text/base/GraphemeClusters.h"
#include "core/text/base/SequenceDiff.h"

#include <unordered_map>

namespace velquor::text {

namespace {

// One number per distinct cluster: a single code unit is its own number, longer clusters are
// numbered from 0x10000 on in order of appearance, shared by both texts.
class ClusterNumbering {
public:
    std::vector<std::uint32_t> numbered(std::u16string_view text) {
        std::vector<std::uint32_t> symbols;
        symbols.reserve(text.size());
        std::size_t start = 0;
        forEachGraphemeClusterEnd(text, [&](std::size_t end) {
            symbols.push_back(end - start == 1 ? text[start] : numberOf(text.substr(start, end - start)));
            start = end;
        });
        return symbols;
    }

private:
    std::uint32_t numberOf(std::u16string_view cluster) {
        const auto next = static_cast<std::uint32_t>(0x10000 + longClusters_.size());
        return longClusters_.try_emplace(cluster, next).first->second;
    }

    std::unordered_map<std::u16string_view, std::uint32_t> longClusters_;
};

}  // namespace

ChangedCharacters changedOutputOffsets(std::u16string_view input, std::u16string_view output) {
    if (input == output) {
        const auto characters = graphemeClusterCount(input);
        return {characters, characters, {}};
    }
    ChangedCharacters changed;
    std::vector<std::size_t> insertions;
    {
        // The numbered texts go before the offsets are copied out: for a long text each is as
        // large as the list of offsets.
        ClusterNumbering numbering;
        const auto before = numbering.numbered(input);
        const auto after = numbering.numbered(output);
        changed.inputCharacters = std::ssize(before);
        changed.outputCharacters = std::ssize(after);
        insertions = diffInsertions(before, after);
    }
    changed.offsets.assign(insertions.begin(), insertions.end());
    return changed;
}

}  // namespace velquor::text
