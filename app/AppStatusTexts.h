#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::app {

// The status lines and findings of the clipboard and the writing-sample workflows, and the texts
// of the file workspace's dialogs, beside the text workspace's own in core/workflow/StatusTexts.h.
// No Qt here, so they can join those.

// Clipboard statuses.
inline constexpr std::u16string_view noReadableClipboardTextStatus = u"Clipboard does not contain readable text.";
inline constexpr std::u16string_view clipboardLoadedStatus = u"Loaded clipboard plain text.";
inline constexpr std::u16string_view clipboardLoadedWithFlavorsStatus =
    u"Loaded clipboard plain text. Extra paste flavors found.";
inline constexpr std::u16string_view clipboardSanitizedStatus = u"Sanitized clipboard in place.";
inline constexpr std::u16string_view clipboardFormatsRemovedStatus = u"Removed extra clipboard formats.";
inline constexpr std::u16string_view restoreAvailableSuffix = u" Restore is available.";
inline constexpr std::u16string_view clipboardAlreadyCleanStatus = u"Clipboard text was already clean.";
inline constexpr std::u16string_view clipboardWriteFailedStatus = u"Could not write cleaned text to the clipboard.";
inline constexpr std::u16string_view clipboardRestoredStatus = u"Restored previous clipboard contents.";
inline constexpr std::u16string_view clipboardRestoreFailedStatus =
    u"Could not restore the previous clipboard contents.";
inline constexpr std::u16string_view clipboardChangedElsewhereStatus =
    u"Clipboard changed elsewhere, so the previous contents were not restored.";

// Clipboard findings, in the order in which they can appear.
inline constexpr std::u16string_view htmlFlavorFinding = u"HTML flavor present";
inline constexpr std::u16string_view htmlTooLargeFinding = u"HTML flavor exceeds the detailed inspection limit";
inline constexpr std::u16string_view htmlSourceAttributesFinding = u"HTML carries source or editor attributes";
inline constexpr std::u16string_view htmlTrackingPixelFinding = u"HTML contains possible tracking pixel";
inline constexpr std::u16string_view htmlMailtoFinding = u"HTML contains prefilled mailto link";
inline constexpr std::u16string_view htmlMismatchedLinkFinding = u"HTML contains mismatched link text and URL";
inline constexpr std::u16string_view rtfFlavorFinding = u"RTF flavor present";
// "public.url flavor present"
std::u16string namedFlavorFinding(std::u16string_view flavorName);

// Writing samples and rewrite actions.
inline constexpr std::u16string_view baselineFolderPrompt = u"Use Folder";
inline constexpr std::u16string_view baselineFolderMessage =
    u"Choose a folder containing your prior .txt or Markdown writing.";
inline constexpr std::u16string_view readingSamplesStatus = u"Reading local writing samples\u2026";
inline constexpr std::u16string_view noReadableSamplesStatus = u"No readable .txt or Markdown files found.";
std::u16string baselineLoadedStatus(std::int64_t documentCount);  // "Loaded 12 documents."
inline constexpr std::u16string_view promptCopyFailedStatus = u"Could not copy the rewrite prompt.";
// "Copied rewrite prompt.", "Copied rewrite prompt with 2 sensitive findings redacted."
std::u16string promptCopiedStatus(std::int64_t redactedFindings);
inline constexpr std::u16string_view rewriteCopiedStatus = u"Copied reviewed rewrite.";
inline constexpr std::u16string_view rewriteCopyFailedStatus = u"Could not copy the reviewed rewrite.";
inline constexpr std::u16string_view rewriteAcceptedStatus =
    u"Accepted reviewed rewrite. Revert returns to the original text.";

// The file workspace's dialogs.
inline constexpr std::u16string_view inspectableFilesFilterName =
    u"Images, audio, video, PDF, SVG, Office and iWork documents";
inline constexpr std::u16string_view fileFolderPrompt = u"Inspect Folder";
inline constexpr std::u16string_view fileFolderMessage = u"Choose a folder to inspect up to 200 supported files.";

}  // namespace velquor::app
