#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velquor::text {

inline constexpr std::size_t maximumWritingSamples = 200;
inline constexpr std::int64_t maximumWritingSampleBytes = 2'000'000;
// Folders nested deeper than this below the chosen one are not entered.
inline constexpr std::size_t maximumWritingSampleDepth = 64;

// The texts of a writer's own samples in a folder and its subfolders, for a writing baseline:
// .txt, .md and .markdown files (extension in any case) of at most 2,000,000 bytes that hold
// UTF-8 text with more than white space, at most 200 of them. Hidden files and folders (names
// starting with a dot) are skipped, and so is every symbolic link, so the walk never leaves the
// folder. Files that cannot be read, are too large, binary or not UTF-8 are skipped silently.
// The order is fixed: each folder's entries by name (byte order), a subfolder's files where
// the subfolder stands. Throws std::system_error when the folder itself cannot be opened.
std::vector<std::u16string> readWritingSamples(const std::filesystem::path& folder);

}  // namespace velquor::text
