#include "core/files/media/MatroskaApplicationNames.h"

#include <array>
#include <bit>
#include <limits>

namespace velquor::files {

namespace {

constexpr std::uint32_t ebmlHeaderId = 0x1A45DFA3;
constexpr std::uint32_t segmentId = 0x18538067;
constexpr std::uint32_t segmentInfoId = 0x1549A966;
constexpr std::uint32_t clusterId = 0x1F43B675;
constexpr std::array<std::uint32_t, 2> applicationNameIds{0x4D80, 0x5741};  // MuxingApp, WritingApp

struct Element {
    std::uint32_t id = 0;
    std::int64_t dataOffset = 0;
    std::optional<std::int64_t> dataSize;  // none for an element of unknown size
};

// A variable-length EBML number: its length is told by the leading zero bits of its first byte.
struct VariableNumber {
    std::uint64_t value = 0;    // with the length marker, as element ids are written
    std::uint64_t payload = 0;  // without it, as sizes are read
    int length = 0;
    bool allOnes = false;
};

std::optional<VariableNumber> readNumber(ByteView bytes, std::int64_t offset, int maximumLength) {
    if (offset < 0 || offset >= static_cast<std::int64_t>(bytes.size())) return std::nullopt;
    const std::uint8_t first = bytes[static_cast<std::size_t>(offset)];
    const int length = std::countl_zero(first) + 1;
    if (first == 0 || length > maximumLength || offset + length > static_cast<std::int64_t>(bytes.size())) {
        return std::nullopt;
    }
    VariableNumber number{.length = length};
    const std::uint64_t marker = std::uint64_t{1} << (7 * length);
    for (int i = 0; i < length; ++i) number.value = (number.value << 8) | bytes[static_cast<std::size_t>(offset + i)];
    number.payload = number.value & (marker - 1);
    number.allOnes = number.payload == marker - 1;
    return number;
}

std::optional<Element> readElement(ByteView bytes, std::int64_t offset) {
    const auto id = readNumber(bytes, offset, 4);
    if (!id) return std::nullopt;
    const auto size = readNumber(bytes, offset + id->length, 8);
    if (!size) return std::nullopt;
    Element element{.id = static_cast<std::uint32_t>(id->value),
                    .dataOffset = offset + id->length + size->length,
                    .dataSize = std::nullopt};
    if (!size->allOnes) {
        if (size->payload > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - element.dataOffset))
            return std::nullopt;
        element.dataSize = static_cast<std::int64_t>(size->payload);
    }
    return element;
}

std::optional<std::vector<ByteRange>> namesInside(ByteView bytes, const Element& info) {
    const std::int64_t end = info.dataOffset + *info.dataSize;
    std::vector<ByteRange> names;
    for (std::int64_t at = info.dataOffset; at < end;) {
        const auto child = readElement(bytes, at);
        if (!child || !child->dataSize || child->dataOffset + *child->dataSize > end) return std::nullopt;
        for (const auto id : applicationNameIds) {
            if (child->id == id) names.push_back({child->dataOffset, *child->dataSize});
        }
        at = child->dataOffset + *child->dataSize;
    }
    if (names.size() != applicationNameIds.size()) return std::nullopt;
    return names;
}

}  // namespace

std::optional<std::vector<ByteRange>> matroskaApplicationNames(ByteView head) {
    const auto header = readElement(head, 0);
    if (!header || header->id != ebmlHeaderId || !header->dataSize) return std::nullopt;
    const auto segment = readElement(head, header->dataOffset + *header->dataSize);
    if (!segment || segment->id != segmentId) return std::nullopt;
    for (std::int64_t at = segment->dataOffset;;) {
        const auto child = readElement(head, at);
        if (!child || !child->dataSize || child->id == clusterId) return std::nullopt;
        if (child->dataOffset + *child->dataSize > static_cast<std::int64_t>(head.size())) return std::nullopt;
        if (child->id == segmentInfoId) return namesInside(head, *child);
        at = child->dataOffset + *child->dataSize;
    }
}

}  // namespace velquor::files
