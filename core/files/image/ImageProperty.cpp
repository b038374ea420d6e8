#include "core/files/image/ImageProperty.h"

namespace velquor::files {

ImageProperty ImageProperty::ofText(std::u16string value) {
    ImageProperty property;
    property.kind = Kind::text;
    property.text = std::move(value);
    return property;
}

ImageProperty ImageProperty::ofInteger(std::int64_t value) {
    ImageProperty property;
    property.kind = Kind::integer;
    property.integer = value;
    return property;
}

ImageProperty ImageProperty::ofReal(double value) {
    ImageProperty property;
    property.kind = Kind::real;
    property.real = value;
    return property;
}

ImageProperty ImageProperty::ofBoolean(bool value) {
    ImageProperty property;
    property.kind = Kind::boolean;
    property.boolean = value;
    return property;
}

ImageProperty ImageProperty::ofArray(std::vector<ImageProperty> values) {
    ImageProperty property;
    property.kind = Kind::array;
    property.elements = std::move(values);
    return property;
}

ImageProperty ImageProperty::ofData() {
    ImageProperty property;
    property.kind = Kind::data;
    return property;
}

ImageProperty* ImageProperty::findMember(std::u16string_view key) {
    const auto found = index_.find(key);
    return found == index_.end() ? nullptr : &members[found->second].value;
}

const ImageProperty* ImageProperty::find(std::u16string_view key) const {
    const auto found = index_.find(key);
    return found == index_.end() ? nullptr : &members[found->second].value;
}

void ImageProperty::set(std::u16string_view key, ImageProperty value) {
    if (auto* existing = findMember(key)) {
        *existing = std::move(value);
        return;
    }
    index_.emplace(std::u16string(key), members.size());
    members.push_back({std::u16string(key), std::move(value)});
}

ImageProperty& ImageProperty::group(std::u16string_view key) {
    if (auto* existing = findMember(key)) return *existing;
    index_.emplace(std::u16string(key), members.size());
    members.push_back({std::u16string(key), ImageProperty()});
    return members.back().value;
}

void ImageProperty::appendText(std::u16string_view key, std::u16string value) {
    auto* existing = findMember(key);
    if (existing == nullptr) {
        set(key, ofText(std::move(value)));
    } else if (existing->kind == Kind::array) {
        existing->elements.push_back(ofText(std::move(value)));
    } else {
        *existing = ofArray({std::move(*existing), ofText(std::move(value))});
    }
}

}  // namespace velquor::files
