#include "core/files/media/AvFormatInput.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/AvContextRules.h"
#include "core/files/media/MediaTagBudget.h"

#include <cerrno>
#include <limits>
#include <new>
#include <system_error>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/mem.h>
}

namespace velquor::files {

namespace {

// The demuxers of the audio and video types we inspect ("matroska" also reads WebM). Everything
// else (playlists, image sequences, concatenation lists, raw streams) could open other files or is
// not media we list.
constexpr const char* demuxerWhitelist = "mov,mp3,wav,aiff,aac,flac,avi,ogg,matroska,asf";

constexpr int ioBufferSize = 1 << 15;

}  // namespace

struct AvFormatInput::Reader {
    std::unique_ptr<MediaByteSource> source;
    const MediaDeadline& deadline;
    std::int64_t position = 0;
    int systemError = 0;  // errno of the last failed read, when the file system failed

    static int read(void* opaque, std::uint8_t* buffer, int size) {
        auto& reader = *static_cast<Reader*>(opaque);
        if (reader.deadline.passed()) return AVERROR_EXIT;
        const auto got = reader.source->readAt(reader.position, {buffer, static_cast<std::size_t>(size)});
        if (got < 0) {
            reader.systemError = static_cast<int>(-got);
            return AVERROR(reader.systemError);
        }
        if (got == 0) return AVERROR_EOF;
        reader.position += got;
        return static_cast<int>(got);
    }

    // Positions past the end are refused: a sample that claims to lie there means a damaged or
    // truncated file, which must fail rather than end the copy early.
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto& reader = *static_cast<Reader*>(opaque);
        const auto size = reader.source->size();
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) return size;
        std::int64_t base = 0;
        if (whence == SEEK_CUR) {
            base = reader.position;
        } else if (whence == SEEK_END) {
            base = size;
        } else if (whence != SEEK_SET) {
            return AVERROR(EINVAL);
        }
        if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) return AVERROR(EINVAL);
        const auto target = base + offset;
        if (target < 0 || target > size) return AVERROR(EINVAL);
        reader.position = target;
        return target;
    }
};

AvFormatInput::AvFormatInput(std::unique_ptr<MediaByteSource> source, const std::string& nameHint,
                             const MediaDeadline& deadline)
    : reader_(new Reader{std::move(source), deadline}) {
    checkTagEntryBudget(*reader_->source, deadline);
    silenceLibraryLogging();
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(ioBufferSize));
    if (buffer == nullptr) throw std::bad_alloc();
    io_ = avio_alloc_context(buffer, ioBufferSize, 0, reader_.get(), &Reader::read, nullptr, &Reader::seek);
    if (io_ == nullptr) {
        av_free(buffer);
        throw std::bad_alloc();
    }
    AVFormatContext* context = avformat_alloc_context();
    if (context == nullptr) {
        release();
        throw std::bad_alloc();
    }
    confineToOwnIo(*context, io_, deadline);
    context->probesize = probeByteCount;
    context->max_analyze_duration = analyzeMicroseconds;
    context->max_streams = maximumStreams;

    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", demuxerWhitelist, 0);
    const int opened = avformat_open_input(&context, nameHint.c_str(), nullptr, &options);
    av_dict_free(&options);
    // A failed open has freed the context, but never our own I/O context.
    if (opened >= 0) context_ = context;
    // Below the retry score a demuxer took the file for its name alone: none of its contents
    // looked like the format, so it is no file of that type.
    if (opened < 0 || context_->probe_score < AVPROBE_SCORE_RETRY || avformat_find_stream_info(context_, nullptr) < 0 ||
        deadline.passed()) {
        release();
        throwReadFailure();
    }
}

AvFormatInput::~AvFormatInput() { release(); }

void AvFormatInput::release() noexcept {
    if (context_ != nullptr) avformat_close_input(&context_);
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

std::int64_t AvFormatInput::byteCount() const { return reader_->source->size(); }

MediaByteSource& AvFormatInput::source() const { return *reader_->source; }

bool AvFormatInput::readPacket(AVPacket& packet) {
    const int result = av_read_frame(context_, &packet);
    if (result >= 0) return true;
    // Demuxers report a failed or interrupted read as the end of the file: only a clean end is one.
    if (result == AVERROR_EOF && reader_->systemError == 0 && !reader_->deadline.passed() &&
        (io_->error == 0 || io_->error == AVERROR_EOF)) {
        return false;
    }
    throwReadFailure();
}

void AvFormatInput::throwReadFailure() const {
    if (reader_->systemError != 0) throw std::system_error(reader_->systemError, std::generic_category());
    throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
}

}  // namespace velquor::files
