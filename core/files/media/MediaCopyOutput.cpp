#include "core/files/media/MediaCopyOutput.h"

#include "core/files/FileSanitizerError.h"
#include "core/posix/FileDescriptor.h"

#include <system_error>

namespace velquor::files {

namespace {

constexpr std::size_t id3HeaderSize = 10;

}  // namespace

void MediaCopyOutput::append(ByteView bytes) {
    if (deadline_.passed() || static_cast<std::int64_t>(bytes.size()) > maximumByteCount_ - size_) {
        throwExportFailed();
    }
    posix::writeAllAt(fd_, bytes, size_);
    size_ += static_cast<std::int64_t>(bytes.size());
}

void MediaCopyOutput::overwrite(std::int64_t offset, ByteView bytes) {
    if (offset < 0 || offset > size_ - static_cast<std::int64_t>(bytes.size())) throwExportFailed();
    posix::writeAllAt(fd_, bytes, offset);
}

std::vector<std::uint8_t> readSourceBytes(MediaByteSource& source, std::int64_t offset, std::size_t count) {
    if (offset < 0 || static_cast<std::int64_t>(count) > source.size() - offset) throwUnreadableFile();
    std::vector<std::uint8_t> bytes(count);
    std::size_t done = 0;
    while (done < count) {
        const auto got = source.readAt(offset + static_cast<std::int64_t>(done), std::span(bytes).subspan(done));
        if (got < 0) throw std::system_error(static_cast<int>(-got), std::generic_category());
        if (got == 0) throwUnreadableFile();
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

int soleAudioStream(const AVFormatContext& context) {
    int found = -1;
    for (unsigned index = 0; index < context.nb_streams; ++index) {
        if (context.streams[index]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) continue;
        if (found >= 0) throwExportFailed();
        found = static_cast<int>(index);
    }
    if (found < 0) throwExportFailed();
    return found;
}

// "ID3", version, flags, then the size as four 7-bit digits; a footer of ten more bytes when the
// flags say so.
std::int64_t skipId3v2Tags(MediaByteSource& source, std::int64_t offset) {
    while (source.size() - offset >= static_cast<std::int64_t>(id3HeaderSize)) {
        const auto header = readSourceBytes(source, offset, id3HeaderSize);
        if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') break;
        std::int64_t size = 0;
        for (std::size_t i = 6; i < id3HeaderSize; ++i) {
            if ((header[i] & 0x80) != 0) throwUnreadableFile();
            size = (size << 7) | header[i];
        }
        const bool footer = (header[5] & 0x10) != 0;
        offset += static_cast<std::int64_t>(id3HeaderSize) + size + (footer ? 10 : 0);
        if (offset > source.size()) throwUnreadableFile();
    }
    return offset;
}

}  // namespace velquor::files
