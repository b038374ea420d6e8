#include "core/files/office/StartTagScan.h"

#include <gtest/gtest.h>

#include <string>

namespace velquor::files {
namespace {

StartTagCounts countedInChunks(const std::string& xml, std::size_t chunkSize) {
    StartTagCounts counts;
    auto scan = countingScan(counts);
    for (std::size_t start = 0; start < xml.size(); start += chunkSize)
        scan.feed(std::string_view(xml).substr(start, chunkSize));
    return counts;
}

TEST(StartTagScanTest, CountsRevisionsAndCommentsWhereverTheChunksSplitThem) {
    const struct {
        std::string xml;
        std::size_t insertions, deletions, moves, comments;
    } cases[] = {
        {"<w:ins w:id=\"1\"><w:r/></w:ins><W:INS>", 2, 0, 0, 0},
        {"<w:ins/><w:insX><w:ins\"><w:ins<w:ins>", 1, 0, 0, 0},  // self-closing, longer names, no separator
        {"<w:del\n><w:delText>old</w:delText><w:del\t>", 0, 2, 0, 0},
        {"<w:moveFrom><w:moveFromRangeStart/><w:moveTo ><w:moveToRangeEnd/>", 0, 0, 2, 0},
        {"<w:comments><w:comment w:id=\"0\"/><comment><p:cm/><x.y-z:comment/></w:comments>", 0, 0, 0, 4},
        {"<w:commentsEx/><:comment/><a:b:comment/><w:Comment/><w:comment<", 0, 0, 0, 0},
        {"</w:ins></w:comment>< w:ins>", 0, 0, 0, 0},
        {"<" + std::string(100, 'w') + "><w:ins>", 1, 0, 0, 0},  // an overlong name is skipped whole
    };
    for (const auto& testCase : cases) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{7}, testCase.xml.size()}) {
            const auto counts = countedInChunks(testCase.xml, chunk);
            EXPECT_EQ(counts.insertions, testCase.insertions) << testCase.xml << " in chunks of " << chunk;
            EXPECT_EQ(counts.deletions, testCase.deletions) << testCase.xml << " in chunks of " << chunk;
            EXPECT_EQ(counts.moves, testCase.moves) << testCase.xml << " in chunks of " << chunk;
            EXPECT_EQ(counts.comments, testCase.comments) << testCase.xml << " in chunks of " << chunk;
        }
    }
}

}  // namespace
}  // namespace velquor::files
