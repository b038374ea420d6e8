#pragma once

#include "tests/app/ModelTestSupport.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

// A 1 x 1 PNG whose comment names a person: a privacy copy removes it.
inline Bytes commentedPng() {
    std::string payload = "Comment";
    payload.push_back('\0');
    payload += "taken by Ann";
    return tinyPng({pngChunk("tEXt", bytesOf(payload))});
}

// A PNG whose Content Credentials container keeps it inspect-only.
inline Bytes credentialsPng() { return tinyPng({pngChunk("caBX", {1, 2, 3})}); }

inline QString pathText(const std::filesystem::path& path) { return QFile::decodeName(QByteArray(path.c_str())); }

// Waits until the file workspace has nothing under way, then lets every queued result arrive.
inline bool waitForFiles(const app::AppModel& model, int milliseconds = 60000) {
    const bool idle = waitFor([&] { return !model.isProcessingFiles(); }, milliseconds);
    settle();
    return idle && !model.isProcessingFiles();
}

// Staged copies are hidden siblings of their source; none may outlive its export.
inline bool holdsHiddenFile(const std::filesystem::path& folder) {
    const auto names = namesIn(folder);
    return std::any_of(names.begin(), names.end(), [](const std::string& name) { return name.starts_with('.'); });
}

inline std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

}  // namespace velquor::testing
