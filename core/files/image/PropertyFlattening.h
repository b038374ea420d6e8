#pragma once

#include "core/files/FileMetadataReport.h"
#include "core/files/image/ImageProperty.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// Appends one entry per leaf of the property map that renders to a non-empty text. The id is
// the path joined with "." ("{GPS}.Latitude", "Frame 2.{GIF}.DelayTime"), the name is the last
// key cleaned, and the section says whether the property is personal. Map keys are visited in
// plain string order.
void flattenProperties(const ImageProperty& value, std::vector<std::u16string>& path,
                       std::vector<FileMetadataEntry>& entries);

// Text as itself, numbers in their shortest form, booleans as "1" or "0", arrays as their
// renderable elements joined with ", "; maps, raw bytes and anything else render as nothing.
std::optional<std::u16string> renderProperty(const ImageProperty& value);

// A key without "{", "}" and "kCGImageProperty", with "_" as a space: "{GPS}" becomes "GPS".
std::u16string cleanedPropertyKey(std::u16string_view key);

// The section of a property from its path (personal sections: "Location", "Capture",
// "Description"; otherwise "File").
std::u16string sectionForPropertyPath(const std::vector<std::u16string>& path);

}  // namespace velquor::files
