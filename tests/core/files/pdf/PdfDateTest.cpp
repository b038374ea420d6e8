#include "core/files/pdf/PdfDate.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

TEST(PdfDateTest, RendersEveryFormInUTC) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:20240301093000Z", "2024-03-01T09:30:00Z"},
        {"D:20240301093000Z00'00'", "2024-03-01T09:30:00Z"},
        {"D:20240301103000+01'00'", "2024-03-01T09:30:00Z"},
        {"D:20240301103000+01'00", "2024-03-01T09:30:00Z"},
        {"D:20240301040000-05'30'", "2024-03-01T09:30:00Z"},
        {"D:20240101003000+01'00'", "2023-12-31T23:30:00Z"},
        {"D:20231231230000-02'00'", "2024-01-01T01:00:00Z"},
        {"D:20240229", "2024-02-29T00:00:00Z"},
        {"D:2024", "2024-01-01T00:00:00Z"},
        {"20240301093000", "2024-03-01T09:30:00Z"},
        {"D:202403010930", "2024-03-01T09:30:00Z"},
    };
    for (const auto& [pdfDate, iso] : cases) {
        EXPECT_EQ(isoDateFromPdfDate(pdfDate), std::optional<std::string>(iso)) << pdfDate;
    }
}

TEST(PdfDateTest, RefusesWhatIsNotADate) {
    for (const char* text : {"", "D:", "D:202", "D:2024031", "D:20230229", "D:20241301", "D:20240301250000",
                             "D:20240301096000", "D:20240301093000+24'00'", "D:20240301093000+01'60'",
                             "D:20240301093000 ", "D:20240301093000X", "yesterday", "D:2024-03-01"}) {
        EXPECT_EQ(isoDateFromPdfDate(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace velquor::files
