#include "core/files/media/TagEntryWalk.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaTagBudget.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <system_error>

namespace velquor::files {

namespace {

constexpr std::int64_t windowSize = 1 << 16;

}  // namespace

bool SourceWindow::read(std::int64_t offset, std::span<std::uint8_t> out) {
    const auto count = static_cast<std::int64_t>(out.size());
    if (offset < 0 || count > size() - offset) return false;
    if (offset < begin_ || offset + count > begin_ + static_cast<std::int64_t>(bytes_.size())) fill(offset);
    std::memcpy(out.data(), bytes_.data() + (offset - begin_), out.size());
    return true;
}

bool SourceWindow::startsWith(std::int64_t offset, std::string_view text) {
    std::array<std::uint8_t, 8> bytes{};
    return text.size() <= bytes.size() && read(offset, std::span(bytes).first(text.size())) &&
           std::memcmp(bytes.data(), text.data(), text.size()) == 0;
}

void SourceWindow::fill(std::int64_t offset) {
    if (deadline_.passed()) throwUnreadableFile();
    bytes_.resize(static_cast<std::size_t>(std::min(windowSize, size() - offset)));
    std::size_t done = 0;
    while (done < bytes_.size()) {
        const auto got = source_.readAt(offset + static_cast<std::int64_t>(done), std::span(bytes_).subspan(done));
        if (got < 0) throw std::system_error(static_cast<int>(-got), std::generic_category());
        if (got == 0) throwUnreadableFile();
        done += static_cast<std::size_t>(got);
    }
    begin_ = offset;
}

void EntryCount::add(std::int64_t entries) {
    count_ += entries;
    if (count_ > maximumTagEntries) throwUnreadableFile();
}

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (const auto byte : bytes) value = (value << 8) | byte;
    return value;
}

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) value = (value << 8) | *byte;
    return value;
}

}  // namespace velquor::files
