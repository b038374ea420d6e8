#include "core/files/media/OggPrivacyCopy.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaCopyOutput.h"
#include "core/files/media/MediaPrivacyRemux.h"
#include "core/files/media/OggPage.h"

#include <cstring>
#include <map>
#include <string_view>
#include <vector>

namespace velquor::files {

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class OggCodec { vorbis, opus, flac };

struct OggStream {
    OggCodec codec;
    std::size_t headerPackets;  // the identification header included
    std::vector<Bytes> headers{};
    Bytes partial{};  // a header packet that continues on the next page
    std::uint32_t nextSequence = 0;
    bool ended = false;
};

bool startsWith(const Bytes& packet, std::string_view text) {
    return packet.size() >= text.size() && std::memcmp(packet.data(), text.data(), text.size()) == 0;
}

// The identification header names the codec; a FLAC one also says how many header packets
// follow it.
OggStream streamFor(const Bytes& identification) {
    if (startsWith(identification, "\x01vorbis")) return {OggCodec::vorbis, 3, {}, {}};
    if (startsWith(identification, "OpusHead")) return {OggCodec::opus, 2, {}, {}};
    if (startsWith(identification,
                   "\x7F"
                   "FLAC") &&
        identification.size() >= 13) {
        const std::size_t following = (std::size_t{identification[7]} << 8) | identification[8];
        if (following == 0) throwExportFailed();  // "unknown": the end of the headers cannot be found
        return {OggCodec::flac, 1 + following, {}, {}};
    }
    throwExportFailed();
}

// The headers of the copy: the identification header (for FLAC announcing one more packet),
// then an empty comment header, then what the codec needs to decode (Vorbis's setup header).
std::vector<Bytes> cleanedHeaders(const OggStream& stream) {
    const Bytes& identification = stream.headers.front();
    switch (stream.codec) {
        case OggCodec::vorbis:
            return {identification, Bytes{3, 'v', 'o', 'r', 'b', 'i', 's', 0, 0, 0, 0, 0, 0, 0, 0, 1},
                    stream.headers.back()};
        case OggCodec::opus:
            return {identification, Bytes{'O', 'p', 'u', 's', 'T', 'a', 'g', 's', 0, 0, 0, 0, 0, 0, 0, 0}};
        case OggCodec::flac: {
            Bytes announced = identification;
            announced[7] = 0;
            announced[8] = 1;
            return {announced, Bytes{0x84, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0}};
        }
    }
    throwExportFailed();
}

class OggRewriter {
public:
    explicit OggRewriter(MediaCopyOutput& output) : output_(output) {}

    void take(const OggPage& page) {
        if (page.beginsStream()) {
            begin(page);
            return;
        }
        const auto found = streams_.find(page.serial);
        if (found == streams_.end() || found->second.ended) throwUnreadableFile();
        OggStream& stream = found->second;
        if (stream.headers.size() < stream.headerPackets) {
            collectHeaders(stream, page);
        } else {
            output_.append(page.renumbered(stream.nextSequence++));
        }
        if (page.endsStream()) stream.ended = true;
    }

    int finish() const {
        for (const auto& [serial, stream] : streams_) {
            if (!stream.ended || stream.headers.size() < stream.headerPackets) throwUnreadableFile();
        }
        if (streamCount_ == 0) throwUnreadableFile();
        return streamCount_;
    }

private:
    void begin(const OggPage& page) {
        const auto packets = page.packets();
        if (packets.completed.size() != 1 || !packets.continuing.empty() || page.continuesPacket()) {
            throwUnreadableFile();
        }
        const auto existing = streams_.find(page.serial);
        if (existing != streams_.end() && !existing->second.ended) throwUnreadableFile();
        OggStream stream = streamFor(packets.completed.front());
        stream.headers.push_back(packets.completed.front());
        streams_.insert_or_assign(page.serial, std::move(stream));
        ++streamCount_;
        if (page.endsStream()) throwUnreadableFile();
    }

    // Header packets end a page, so the audio begins on a page of its own.
    void collectHeaders(OggStream& stream, const OggPage& page) {
        auto packets = page.packets();
        if (page.continuesPacket() == stream.partial.empty()) throwUnreadableFile();
        for (auto& packet : packets.completed) {
            if (!stream.partial.empty()) {
                stream.partial.insert(stream.partial.end(), packet.begin(), packet.end());
                packet = std::move(stream.partial);
                stream.partial.clear();
            }
            stream.headers.push_back(std::move(packet));
        }
        if (!packets.continuing.empty()) {
            stream.partial.insert(stream.partial.end(), packets.continuing.begin(), packets.continuing.end());
            if (stream.partial.size() > maximumHeaderSize) throwUnreadableFile();
        }
        if (stream.headers.size() > stream.headerPackets) throwUnreadableFile();
        if (stream.headers.size() == stream.headerPackets) {
            if (!stream.partial.empty()) throwUnreadableFile();
            writeHeaders(stream, page.serial);
        }
    }

    // The identification header alone on the first page, as every mapping requires.
    void writeHeaders(OggStream& stream, std::uint32_t serial) {
        const auto headers = cleanedHeaders(stream);
        std::uint32_t sequence = 0;
        for (const auto& page : oggPages(serial, {headers.front()}, sequence, true)) output_.append(page);
        const std::vector<Bytes> rest(headers.begin() + 1, headers.end());
        for (const auto& page : oggPages(serial, rest, sequence, false)) output_.append(page);
        stream.nextSequence = sequence;
    }

    static constexpr std::size_t maximumHeaderSize = std::size_t{16} << 20;

    MediaCopyOutput& output_;
    std::map<std::uint32_t, OggStream> streams_;
    int streamCount_ = 0;
};

}  // namespace

MediaStreamCounts writeOggPrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline) {
    MediaByteSource& source = input.source();
    MediaCopyOutput output(fd, maximumCopyByteCount(input.byteCount()), deadline);
    OggRewriter rewriter(output);
    for (std::int64_t at = 0; at < source.size();) {
        const OggPage page = readOggPage(source, at);
        rewriter.take(page);
        at += page.byteCount;
    }
    return {.audio = rewriter.finish()};
}

}  // namespace velquor::files
