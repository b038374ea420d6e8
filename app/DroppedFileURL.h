#pragma once

#include <QVariant>

#include <filesystem>
#include <optional>

namespace velquor::app {

// One dropped item as a local path, or nothing. The item may be a URL, the bytes of one URL
// (its encoded form, taken as it is: not resolved against any base) or a string holding one;
// anything else yields nothing. Only file URLs of this machine (no host, or "localhost") with an
// absolute path are taken, and the path comes back standardized: percent escapes decoded byte
// for byte, "." and ".." resolved, repeated and trailing slashes dropped.
std::optional<std::filesystem::path> decodeDroppedFileURL(const QVariant& item);

}  // namespace velquor::app
