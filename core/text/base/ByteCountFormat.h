#pragma once

#include <cstdint>
#include <string>

namespace velquor::text {

// A file size in decimal units, as file browsers show it: "1 byte", "999 bytes", "12 KB",
// "16.8 MB", "1.07 GB". Kilobytes take no decimals, megabytes one, larger units two; trailing
// zeros are dropped, and a value that rounds up to 1,000 moves on to the next unit.
std::string formattedByteCount(std::int64_t bytes);

}  // namespace velquor::text
