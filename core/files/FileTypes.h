#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velquor::files {

// The broad kinds a file type can conform to, as file dispatch asks about them.
enum class TypeConformance : unsigned {
    image = 1u << 0,
    pdf = 1u << 1,
    audio = 1u << 2,
    movie = 1u << 3,
    video = 1u << 4,
};

// A file type known from its name's extension: a stable identifier, a description for reports,
// and what it conforms to. SVG is an image too, which is why dispatch asks about SVG first.
struct UniformType {
    std::string_view identifier;      // "public.jpeg"
    std::u16string_view description;  // "JPEG image"
    unsigned conformances;

    bool conformsTo(TypeConformance conformance) const {
        return (conformances & static_cast<unsigned>(conformance)) != 0;
    }

    friend bool operator==(const UniformType&, const UniformType&) = default;
};

// The extension of the last path component, without its dot, ASCII letters lower-cased;
// empty when there is none (".profile" has none).
std::string lowercasedExtension(const std::filesystem::path& path);

// The type for a path's extension, in any letter case; nothing for an unknown extension.
std::optional<UniformType> typeFromExtension(const std::filesystem::path& path);

std::optional<UniformType> typeWithIdentifier(std::string_view identifier);

bool extensionConformsTo(const std::filesystem::path& path, TypeConformance conformance);

}  // namespace velquor::files
