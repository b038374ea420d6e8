#include "core/text/base/ByteCountFormat.h"

#include <gtest/gtest.h>

namespace velquor::text {
namespace {

TEST(ByteCountFormatTest, UsesDecimalUnitsLikeAFileBrowser) {
    const std::pair<std::int64_t, std::string> cases[] = {
        {0, "0 bytes"},
        {1, "1 byte"},
        {999, "999 bytes"},
        {1'000, "1 KB"},
        {1'499, "1 KB"},
        {1'500, "2 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {2'000'000, "2 MB"},
        {16'777'216, "16.8 MB"},
        {67'108'864, "67.1 MB"},
        {268'435'456, "268.4 MB"},
        {999'950'000, "1 GB"},
        {1'073'741'824, "1.07 GB"},
        {5'000'000'000'000, "5 TB"},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(formattedByteCount(bytes), expected) << bytes;
}

}  // namespace
}  // namespace velquor::text
