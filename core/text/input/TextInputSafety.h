#pragma once

#include "core/text/input/TextInputError.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velquor::text {

// The gate every outside text passes before the engine sees it: a byte limit, a refusal of
// binary formats, and strict UTF-8. Rejections throw TextInputError; failures of the file system
// calls pass through as std::system_error. Nothing is ever partially returned.
class TextInputSafety {
public:
    static constexpr std::int64_t defaultMaxByteCount = 67'108'864;  // 64 MiB

    // A file whose size is known to exceed the limit is refused before it is opened.
    static std::u16string readText(const std::filesystem::path& path, std::int64_t maxByteCount = defaultMaxByteCount);

    // Everything that remains on an open descriptor, read in 64 KiB chunks; at most
    // maxByteCount + 1 bytes are ever held.
    static std::u16string readText(int fileDescriptor, std::int64_t maxByteCount = defaultMaxByteCount);

    static std::u16string decodeText(std::span<const std::uint8_t> data,
                                     std::int64_t maxByteCount = defaultMaxByteCount);

    // Text that is already a string only has its UTF-8 size checked.
    static void validateText(std::u16string_view text, std::int64_t maxByteCount = defaultMaxByteCount);

private:
    static std::optional<std::string> binaryDescription(std::span<const std::uint8_t> data);
};

}  // namespace velquor::text
