#include "core/workflow/StatusTexts.h"

#include "core/files/MetadataText.h"
#include "core/text/base/TextConversions.h"
#include "core/workflow/BatchFileReport.h"

namespace velquor::workflow {

namespace {

using text::decimalText;

constexpr std::u16string_view ellipsis = u"\u2026";

std::u16string nameOf(const std::filesystem::path& file) { return files::metadataText(file.filename().string()); }

std::u16string progress(std::u16string_view verb, std::size_t count, std::size_t total) {
    return std::u16string(verb) + u" " + decimalText(count) + u" of " + decimalText(total) + u" files" +
           std::u16string(ellipsis);
}

// "1 privacy copy", "2 privacy copies".
std::u16string privacyCopies(std::size_t count) {
    return decimalText(count) + (count == 1 ? u" privacy copy" : u" privacy copies");
}

}  // namespace

std::u16string textFileLoadedStatus(const std::filesystem::path& file) { return u"Loaded " + nameOf(file) + u"."; }

std::u16string cleanedTextSavedStatus(const std::filesystem::path& file) { return u"Saved " + nameOf(file) + u"."; }

std::u16string locationSelectedStatus(std::u16string_view label, std::size_t index, std::size_t total) {
    return u"Selected " + std::u16string(label) + u" occurrence " + decimalText(index + 1) + u" of " +
           decimalText(total) + u".";
}

std::u16string fileInspectionStartedStatus(const std::filesystem::path& file) {
    return u"Inspecting " + nameOf(file) + std::u16string(ellipsis);
}

std::u16string exportStartedStatus(const std::filesystem::path& destination) {
    return u"Creating and verifying " + nameOf(destination) + std::u16string(ellipsis);
}

std::u16string exportFinishedStatus(const std::filesystem::path& destination) {
    return u"Created and verified " + nameOf(destination) + u".";
}

std::u16string batchInspectionStartedStatus() {
    return u"Inspecting up to " + decimalText(batchFileLimit) + u" supported files" + std::u16string(ellipsis);
}

std::u16string batchStatus(std::size_t rowCount) {
    if (rowCount == 0) return u"No supported files found.";
    const auto count = u"Inspected " + decimalText(rowCount);
    if (rowCount == batchFileLimit) return count + u" files (batch safety limit).";
    return count + (rowCount == 1 ? u" file." : u" files.");
}

std::u16string filesNeedAttentionStatus(std::size_t count) {
    return decimalText(count) + (count == 1 ? u" file needs" : u" files need") +
           u" attention (provenance data, or metadata that a privacy copy would remove).";
}

std::u16string inspectingProgress(std::size_t finished, std::size_t total) {
    return progress(u"Inspecting", finished, total);
}

std::u16string exportingProgress(std::size_t current, std::size_t total) {
    return progress(u"Exporting", current, total);
}

std::u16string batchCopyRowStatus(const std::filesystem::path& copy) { return u"Created " + nameOf(copy) + u"."; }

std::u16string batchCopyStartedStatus(std::size_t count) {
    return u"Creating and verifying " + privacyCopies(count) + std::u16string(ellipsis);
}

std::u16string batchCopyFinishedStatus(std::size_t created, std::size_t failed) {
    const auto done = u"Created and verified " + privacyCopies(created);
    if (failed == 0) return done + u".";
    return done + u"; " + decimalText(failed) + u" could not be created.";
}

}  // namespace velquor::workflow
