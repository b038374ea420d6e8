#include "core/workflow/StatusTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace velquor::workflow {
namespace {

TEST(StatusTextsTest, NamedStatusesShowTheLastComponentAndKeepEveryByteOfIt) {
    // A name that is not UTF-8 is read as Latin-1, never dropped or replaced.
    const std::pair<std::u16string, std::u16string> cases[] = {
        {textFileLoadedStatus("/home/ann/notes.txt"), u"Loaded notes.txt."},
        {textFileLoadedStatus("/tmp/caf\xE9.md"), u"Loaded caf\u00E9.md."},
        {cleanedTextSavedStatus("/home/ann/cleaned.txt"), u"Saved cleaned.txt."},
        {fileInspectionStartedStatus("/pictures/photo.jpg"), u"Inspecting photo.jpg\u2026"},
        {exportStartedStatus("/pictures/photo-privacy-2.jpg"), u"Creating and verifying photo-privacy-2.jpg\u2026"},
        {exportFinishedStatus("/pictures/\xC3\xA9t\xC3\xA9-privacy.jpg"),
         u"Created and verified \u00E9t\u00E9-privacy.jpg."},
    };
    for (const auto& [status, expected] : cases) EXPECT_EQ(status, expected);
}

TEST(StatusTextsTest, CountedStatusesCountFromOneAndAgreeWithTheirNumber) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {locationSelectedStatus(u"invisible", 1, 5), u"Selected invisible occurrence 2 of 5."},
        {locationSelectedStatus(u"hidden and control unicode", 0, 1),
         u"Selected hidden and control unicode occurrence 1 of 1."},
        {batchInspectionStartedStatus(), u"Inspecting up to 200 supported files\u2026"},
        {inspectingProgress(3, 10), u"Inspecting 3 of 10 files\u2026"},
        {exportingProgress(1, 2), u"Exporting 1 of 2 files\u2026"},
        {filesNeedAttentionStatus(1),
         u"1 file needs attention (provenance data, or metadata that a privacy copy would remove)."},
        {filesNeedAttentionStatus(3),
         u"3 files need attention (provenance data, or metadata that a privacy copy would remove)."},
        {batchStatus(0), u"No supported files found."},
        {batchStatus(1), u"Inspected 1 file."},
        {batchStatus(3), u"Inspected 3 files."},
        {batchStatus(199), u"Inspected 199 files."},
        {batchStatus(200), u"Inspected 200 files (batch safety limit)."},
        {batchCopyRowStatus("/pictures/photo-privacy-3.jpg"), u"Created photo-privacy-3.jpg."},
        {batchCopyStartedStatus(1), u"Creating and verifying 1 privacy copy\u2026"},
        {batchCopyStartedStatus(12), u"Creating and verifying 12 privacy copies\u2026"},
        {batchCopyFinishedStatus(0, 0), u"Created and verified 0 privacy copies."},
        {batchCopyFinishedStatus(1, 0), u"Created and verified 1 privacy copy."},
        {batchCopyFinishedStatus(3, 0), u"Created and verified 3 privacy copies."},
        {batchCopyFinishedStatus(1, 1), u"Created and verified 1 privacy copy; 1 could not be created."},
        {batchCopyFinishedStatus(2, 5), u"Created and verified 2 privacy copies; 5 could not be created."},
    };
    for (const auto& [status, expected] : cases) EXPECT_EQ(status, expected);
}

}  // namespace
}  // namespace velquor::workflow
