#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

struct ImagePropertyMember;

// One value of an image's property map, shaped like an image decoder's nested dictionaries:
// group keys are brace-wrapped ("{GPS}", "{Exif}", "{PNG}") and hold maps of plain keys.
struct ImageProperty {
    enum class Kind { text, integer, real, boolean, array, map, data };

    Kind kind = Kind::map;
    std::u16string text;
    std::int64_t integer = 0;
    double real = 0;
    bool boolean = false;
    std::vector<ImageProperty> elements;       // array
    std::vector<ImagePropertyMember> members;  // map, in insertion order

    static ImageProperty ofText(std::u16string value);
    static ImageProperty ofInteger(std::int64_t value);
    static ImageProperty ofReal(double value);
    static ImageProperty ofBoolean(bool value);
    static ImageProperty ofArray(std::vector<ImageProperty> values);
    static ImageProperty ofData();  // raw bytes: shown nowhere

    // Map access. set() replaces an existing member of the same key.
    const ImageProperty* find(std::u16string_view key) const;
    void set(std::u16string_view key, ImageProperty value);
    // The member map under `key`, created empty when missing.
    ImageProperty& group(std::u16string_view key);
    // Adds a text under `key`; a second text under the same key turns the member into an array.
    void appendText(std::u16string_view key, std::u16string value);

private:
    // Position of each key in `members`: files can carry many thousands of keys.
    std::map<std::u16string, std::size_t, std::less<>> index_;

    ImageProperty* findMember(std::u16string_view key);
};

struct ImagePropertyMember {
    std::u16string key;
    ImageProperty value;
};

}  // namespace velquor::files
