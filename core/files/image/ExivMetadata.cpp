#include "core/files/image/ExivMetadata.h"

#include "core/files/MetadataText.h"

#include <exiv2/exiv2.hpp>

#include <array>
#include <cmath>
#include <charconv>
#include <mutex>
#include <string>

namespace velquor::files {

namespace {

using Kind = ImageProperty::Kind;

// Exiv2 keeps global state: BMFF support is off by default, its XMP toolkit must be set up
// once (with a lock, because inspections run on several threads), and it would log to stderr.
std::mutex xmpToolkitLock;

void lockXmpToolkit(void* mutex, bool lock) {
    auto* toolkit = static_cast<std::mutex*>(mutex);
    if (lock) {
        toolkit->lock();
    } else {
        toolkit->unlock();
    }
}

void prepareExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        Exiv2::enableBMFF(true);
        Exiv2::XmpParser::initialize(lockXmpToolkit, &xmpToolkitLock);
    });
}

std::u16string asciiKey(const std::string& key) { return metadataText(key); }

// Tags that describe where the file keeps its parts rather than what it says about the photo,
// and packets that are listed on their own (XMP, IPTC) or are raw bytes (ICC, Photoshop).
bool isStructuralImageTag(std::uint16_t tag) {
    static constexpr std::array<std::uint16_t, 13> structural{0x0111, 0x0117, 0x0144, 0x0145, 0x014A, 0x0201, 0x0202,
                                                              0x02BC, 0x83BB, 0x8649, 0x8769, 0x8773, 0x8825};
    return std::find(structural.begin(), structural.end(), tag) != structural.end();
}

bool isWindowsTextTag(std::uint16_t tag) { return tag >= 0x9C9B && tag <= 0x9C9F; }  // XPTitle ... XPSubject

double rationalValue(const Exiv2::Rational& value) {
    return value.second == 0 ? 0.0 : static_cast<double>(value.first) / static_cast<double>(value.second);
}

ImageProperty numberElement(const Exiv2::Value& value, long i) {
    switch (value.typeId()) {
        case Exiv2::unsignedRational:
        case Exiv2::signedRational:
            return ImageProperty::ofReal(rationalValue(value.toRational(i)));
        case Exiv2::tiffFloat:
        case Exiv2::tiffDouble:
            return ImageProperty::ofReal(static_cast<double>(value.toFloat(i)));
        default:
            return ImageProperty::ofInteger(value.toLong(i));
    }
}

ImageProperty numbers(const Exiv2::Value& value) {
    if (value.count() == 1) return numberElement(value, 0);
    std::vector<ImageProperty> elements;
    for (long i = 0; i < value.count(); ++i) elements.push_back(numberElement(value, i));
    return ImageProperty::ofArray(std::move(elements));
}

std::u16string windowsText(const Exiv2::Value& value) {
    std::u16string text;
    for (long i = 0; i + 1 < value.count(); i += 2) {
        const auto unit = static_cast<char16_t>(value.toLong(i) | (value.toLong(i + 1) << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

ImageProperty exifValue(const Exiv2::Exifdatum& datum) {
    const auto& value = datum.value();
    if (const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&value)) {
        return ImageProperty::ofText(metadataText(comment->comment()));
    }
    if (datum.groupName() == "Image" && isWindowsTextTag(datum.tag())) return ImageProperty::ofText(windowsText(value));
    switch (value.typeId()) {
        case Exiv2::asciiString:
            return ImageProperty::ofText(metadataText(value.toString()));
        case Exiv2::undefined:
            return ImageProperty::ofData();
        case Exiv2::unsignedByte:
        case Exiv2::signedByte:
            // Short byte arrays are versions and flags; longer ones are binary blocks.
            return value.count() <= 16 ? numbers(value) : ImageProperty::ofData();
        default:
            return numbers(value);
    }
}

// Degrees, minutes and seconds as one decimal number of degrees.
std::optional<double> decimalDegrees(const Exiv2::Value& value) {
    if (value.count() != 3) return std::nullopt;
    return rationalValue(value.toRational(0)) + rationalValue(value.toRational(1)) / 60.0 +
           rationalValue(value.toRational(2)) / 3600.0;
}

// The number in its shortest form, with a leading zero below ten, whatever the process locale.
std::string clockField(double value) {
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    const std::string text(buffer.data(), end);
    return value >= 0 && value < 10 ? "0" + text : text;
}

// Hours, minutes and seconds as "14:03:07.5".
std::u16string clockTime(const Exiv2::Value& value) {
    return asciiKey(clockField(rationalValue(value.toRational(0))) + ":" +
                    clockField(rationalValue(value.toRational(1))) + ":" +
                    clockField(rationalValue(value.toRational(2))));
}

void addGpsDatum(ImageProperty& gps, const Exiv2::Exifdatum& datum) {
    std::string name = datum.tagName();
    if (name.rfind("GPS", 0) == 0) name.erase(0, 3);
    const auto& value = datum.value();
    const bool isCoordinate =
        name == "Latitude" || name == "Longitude" || name == "DestLatitude" || name == "DestLongitude";
    if (isCoordinate && value.typeId() == Exiv2::unsignedRational) {
        if (const auto degrees = decimalDegrees(value)) {
            gps.set(asciiKey(name), ImageProperty::ofReal(*degrees));
            return;
        }
    }
    if (name == "TimeStamp" && value.count() == 3 && value.typeId() == Exiv2::unsignedRational) {
        gps.set(asciiKey(name), ImageProperty::ofText(clockTime(value)));
        return;
    }
    gps.set(asciiKey(name), exifValue(datum));
}

// The property group an Exif tag belongs to; nothing for groups that hold only structure
// (interoperability, thumbnail and sub-image IFDs).
std::optional<std::u16string> exifGroupKey(const std::string& group) {
    if (group == "Image") return u"{TIFF}";
    if (group == "Photo") return u"{Exif}";
    if (group == "GPSInfo") return u"{GPS}";
    if (Exiv2::ExifTags::isMakerGroup(group)) return u"{Maker" + asciiKey(group) + u"}";
    return std::nullopt;
}

void addExif(ExivMetadata& metadata, const Exiv2::ExifData& exif) {
    for (const auto& datum : exif) {
        try {
            const auto group = exifGroupKey(datum.groupName());
            if (!group || (datum.groupName() == "Image" && isStructuralImageTag(datum.tag()))) continue;
            if (datum.groupName() == "Photo" && datum.tag() == 0xA005) continue;  // interoperability pointer
            auto& map = metadata.properties.group(*group);
            if (*group == u"{GPS}") {
                addGpsDatum(map, datum);
            } else if (map.find(asciiKey(datum.tagName())) == nullptr) {
                map.set(asciiKey(datum.tagName()), exifValue(datum));
            }
            if (datum.groupName() == "Image" && datum.tag() == 0x0112 && datum.count() >= 1 && !metadata.orientation) {
                metadata.orientation = static_cast<std::uint16_t>(datum.toLong(0));
            }
        } catch (const Exiv2::AnyError&) {
            // A datum without a readable value is left out; the rest of the file still counts.
        }
    }
}

void addIptc(ImageProperty& frame, const Exiv2::IptcData& iptc) {
    for (const auto& datum : iptc) {
        try {
            frame.group(u"{IPTC}").appendText(asciiKey(datum.tagName()), metadataText(datum.value().toString()));
        } catch (const Exiv2::AnyError&) {
        }
    }
}

ImageProperty xmpValue(const Exiv2::Xmpdatum& datum) {
    const auto& value = datum.value();
    if (const auto* languages = dynamic_cast<const Exiv2::LangAltValue*>(&value)) {
        std::vector<ImageProperty> texts;
        for (const auto& [language, text] : languages->value_)
            texts.push_back(ImageProperty::ofText(metadataText(text)));
        return ImageProperty::ofArray(std::move(texts));
    }
    if (dynamic_cast<const Exiv2::XmpArrayValue*>(&value) != nullptr) {
        std::vector<ImageProperty> texts;
        for (long i = 0; i < value.count(); ++i)
            texts.push_back(ImageProperty::ofText(metadataText(value.toString(i))));
        return ImageProperty::ofArray(std::move(texts));
    }
    return ImageProperty::ofText(metadataText(value.toString()));
}

// XMP properties go by their own names, without the namespace prefix: a prefix such as "tiff:"
// or "exif:" would send a description to the sections of the Exif groups it mirrors. A name
// that two namespaces share gets a number.
void addXmp(ImageProperty& frame, const Exiv2::XmpData& xmp) {
    auto& group = frame.group(u"{XMP}");
    for (const auto& datum : xmp) {
        try {
            const auto name = asciiKey(datum.tagName());
            auto key = name;
            for (int n = 2; group.find(key) != nullptr; ++n) key = name + u" " + asciiKey(std::to_string(n));
            group.set(key, xmpValue(datum));
        } catch (const Exiv2::AnyError&) {
        }
    }
}

void addUndecodedPacket(ImageProperty& frame, std::size_t byteCount) {
    frame.group(u"{XMP}").set(u"Packet", ImageProperty::ofText(asciiKey(std::to_string(byteCount) + " bytes")));
}

ExivMetadata unreadableMetadata() {
    ExivMetadata metadata;
    metadata.readable = false;
    return metadata;
}

}  // namespace

ExivMetadata readExivMetadata(ByteView data) {
    prepareExiv2();
    ExivMetadata metadata;
    try {
        auto image = Exiv2::ImageFactory::open(data.data(), static_cast<long>(data.size()));
        if (image.get() == nullptr) return unreadableMetadata();
        image->readMetadata();
        addExif(metadata, image->exifData());
        addIptc(metadata.properties, image->iptcData());
        addXmp(metadata.properties, image->xmpData());
        if (image->xmpData().empty() && !image->xmpPacket().empty()) {
            addUndecodedPacket(metadata.properties, image->xmpPacket().size());
        }
        metadata.pixelWidth = static_cast<std::uint32_t>(std::max(0, image->pixelWidth()));
        metadata.pixelHeight = static_cast<std::uint32_t>(std::max(0, image->pixelHeight()));
    } catch (const std::exception&) {
        // Exiv2 fails with its own errors and with standard ones (out of range, overflow, an
        // allocation of a size the file made up) on damaged or hostile metadata.
        return unreadableMetadata();
    }
    if (metadata.orientation) metadata.properties.set(u"Orientation", ImageProperty::ofInteger(*metadata.orientation));
    return metadata;
}

void addExifBlock(ExivMetadata& metadata, ByteView tiff) {
    prepareExiv2();
    Exiv2::ExifData exif;
    try {
        const auto order = Exiv2::ExifParser::decode(exif, tiff.data(), static_cast<std::uint32_t>(tiff.size()));
        if (order == Exiv2::invalidByteOrder) {
            metadata.readable = false;
            return;
        }
    } catch (const std::exception&) {
        metadata.readable = false;
        return;
    }
    const bool hadOrientation = metadata.orientation.has_value();
    addExif(metadata, exif);
    if (!hadOrientation && metadata.orientation) {
        metadata.properties.set(u"Orientation", ImageProperty::ofInteger(*metadata.orientation));
    }
}

void addXmpPacket(ImageProperty& frame, std::string_view packet) {
    prepareExiv2();
    Exiv2::XmpData xmp;
    try {
        if (Exiv2::XmpParser::decode(xmp, std::string(packet)) == 0 && !xmp.empty()) {
            addXmp(frame, xmp);
            return;
        }
    } catch (const Exiv2::AnyError&) {
    }
    addUndecodedPacket(frame, packet.size());
}

}  // namespace velquor::files
