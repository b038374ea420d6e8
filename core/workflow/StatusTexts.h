#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace velquor::workflow {

// Every status line the text and file workflows show, so that the window and velquor-cli say
// the same thing. Errors are shown by their own description and have no text here. File names
// are the last path component, read as metadata text so that no byte of a name is lost.

// The text workspace.
inline constexpr std::u16string_view textStatusAtStart = u"Drop a text file or paste text below.";
inline constexpr std::u16string_view droppedTextLoadedStatus = u"Loaded dropped text.";
inline constexpr std::u16string_view cleanedTextAppliedStatus = u"Applied cleaned text. Revert is available.";
inline constexpr std::u16string_view revertedTextStatus = u"Reverted to previous text.";
inline constexpr std::u16string_view cleanedTextCopiedStatus = u"Copied cleaned text.";
std::u16string textFileLoadedStatus(const std::filesystem::path& file);    // "Loaded notes.txt."
std::u16string cleanedTextSavedStatus(const std::filesystem::path& file);  // "Saved cleaned.txt."
// "Selected invisible occurrence 2 of 5." for the location at zero-based `index` of `total`.
std::u16string locationSelectedStatus(std::u16string_view label, std::size_t index, std::size_t total);

// The file workspace.
inline constexpr std::u16string_view fileStatusAtStart =
    u"Drop an image, SVG, PDF, audio/video, Office document, or iWork file.";
inline constexpr std::u16string_view svgReadyStatus = u"SVG ready.";
inline constexpr std::u16string_view pdfReadyStatus = u"PDF ready.";
inline constexpr std::u16string_view imageReadyStatus = u"Image ready.";
inline constexpr std::u16string_view mediaReadyStatus = u"Media ready.";
inline constexpr std::u16string_view mediaInspectOnlyStatus =
    u"Media inspected. Privacy export is not available for this file type yet.";
inline constexpr std::u16string_view officeReadyStatus = u"Office document ready.";
inline constexpr std::u16string_view archiveInspectOnlyStatus =
    u"Archive inspected. Privacy export is not available for this file type.";
inline constexpr std::u16string_view waitBeforeAnotherFileStatus =
    u"Wait for the privacy copy to finish before selecting another file.";
inline constexpr std::u16string_view waitBeforeAnotherFolderStatus =
    u"Wait for the privacy copy to finish before selecting another folder.";
inline constexpr std::u16string_view exportUnavailableStatus = u"Privacy export is not available for this file type.";
inline constexpr std::u16string_view unreadableDropStatus = u"Could not read the dropped file URLs.";
// A batch export stays a list of files the user named: writing copies all over a folder tree
// would also make the next folder inspection list every copy beside its original.
inline constexpr std::u16string_view folderExportRefusal =
    u"This is a folder. Privacy copies are written for files: name the files to export.";
// "Inspecting photo.jpg…", "Creating and verifying a-privacy.png…", "Created and verified a-privacy.png."
std::u16string fileInspectionStartedStatus(const std::filesystem::path& file);
std::u16string exportStartedStatus(const std::filesystem::path& destination);
std::u16string exportFinishedStatus(const std::filesystem::path& destination);

// Batches.
inline constexpr std::u16string_view credentialsRowStatus = u"Credentials";
inline constexpr std::u16string_view possibleProvenanceRowStatus = u"Possible provenance";
inline constexpr std::u16string_view okRowStatus = u"OK";
std::u16string batchInspectionStartedStatus();  // "Inspecting up to 200 supported files…"
// The status line of a finished batch: "No supported files found.", "Inspected 200 files (batch
// safety limit)." when the batch is full, otherwise "Inspected 3 files." ("1 file" for one).
std::u16string batchStatus(std::size_t rowCount);
// "1 file needs attention (...).", "3 files need attention (...)."
std::u16string filesNeedAttentionStatus(std::size_t count);

// Progress while a batch runs.
inline constexpr std::u16string_view lookingForFilesProgress = u"Looking for supported files\u2026";
std::u16string inspectingProgress(std::size_t finished, std::size_t total);  // "Inspecting 3 of 10 files…"
std::u16string exportingProgress(std::size_t current, std::size_t total);    // "Exporting 1 of 2 files…"

// Privacy copies of a whole batch.
std::u16string batchCopyRowStatus(const std::filesystem::path& copy);  // "Created a-privacy.png."
// "Creating and verifying 1 privacy copy…", "Creating and verifying 12 privacy copies…"
std::u16string batchCopyStartedStatus(std::size_t count);
// "Created and verified 3 privacy copies.", "Created and verified 1 privacy copy; 2 could not be created."
std::u16string batchCopyFinishedStatus(std::size_t created, std::size_t failed);

}  // namespace velquor::workflow
