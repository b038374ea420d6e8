#include "core/files/media/AvFormatOutput.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/AvContextRules.h"
#include "core/posix/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>
#include <vector>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/mem.h>
}

namespace velquor::files {

namespace {

constexpr int ioBufferSize = 1 << 16;
constexpr std::int64_t headByteCount = 1 << 16;

}  // namespace

struct AvFormatOutput::Writer {
    int fd;
    std::int64_t maximumByteCount;
    const MediaDeadline& deadline;
    std::int64_t position = 0;
    std::int64_t length = 0;
    int systemError = 0;
    bool limitExceeded = false;
    std::vector<std::uint8_t> head{};  // the file's first bytes as they stand

    void keepHead(const std::uint8_t* buffer, int size) {
        if (position >= headByteCount) return;
        const auto end = std::min<std::int64_t>(position + size, headByteCount);
        if (static_cast<std::int64_t>(head.size()) < end) head.resize(static_cast<std::size_t>(end));
        std::memcpy(head.data() + position, buffer, static_cast<std::size_t>(end - position));
    }

    static int write(void* opaque, std::uint8_t* buffer, int size) {
        auto& writer = *static_cast<Writer*>(opaque);
        if (writer.deadline.passed()) return AVERROR_EXIT;
        if (size > writer.maximumByteCount - writer.position) {
            writer.limitExceeded = true;
            return AVERROR(EFBIG);
        }
        try {
            posix::writeAllAt(writer.fd, {buffer, static_cast<std::size_t>(size)}, writer.position);
        } catch (const std::system_error& failure) {
            writer.systemError = failure.code().value();
            return AVERROR(writer.systemError);
        }
        writer.keepHead(buffer, size);
        writer.position += size;
        if (writer.position > writer.length) writer.length = writer.position;
        return size;
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto& writer = *static_cast<Writer*>(opaque);
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) return writer.length;
        std::int64_t base = 0;
        if (whence == SEEK_CUR) {
            base = writer.position;
        } else if (whence == SEEK_END) {
            base = writer.length;
        } else if (whence != SEEK_SET) {
            return AVERROR(EINVAL);
        }
        if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) return AVERROR(EINVAL);
        const auto target = base + offset;
        if (target < 0 || target > writer.maximumByteCount) return AVERROR(EINVAL);
        writer.position = target;
        return target;
    }
};

AvFormatOutput::AvFormatOutput(const char* muxerName, int fd, std::int64_t maximumByteCount,
                               const MediaDeadline& deadline)
    : writer_(new Writer{.fd = fd, .maximumByteCount = maximumByteCount, .deadline = deadline}) {
    silenceLibraryLogging();
    if (avformat_alloc_output_context2(&context_, nullptr, muxerName, nullptr) < 0 || context_ == nullptr) {
        throwExportFailed();
    }
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(ioBufferSize));
    io_ = buffer == nullptr
              ? nullptr
              : avio_alloc_context(buffer, ioBufferSize, 1, writer_.get(), nullptr, &Writer::write, &Writer::seek);
    if (io_ == nullptr) {
        av_free(buffer);
        release();
        throw std::bad_alloc();
    }
    confineToOwnIo(*context_, io_, deadline);
    context_->flags |= AVFMT_FLAG_BITEXACT;
}

AvFormatOutput::~AvFormatOutput() { release(); }

void AvFormatOutput::release() noexcept {
    if (context_ != nullptr) avformat_free_context(context_);
    context_ = nullptr;
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

AVStream& AvFormatOutput::addStream() {
    AVStream* stream = avformat_new_stream(context_, nullptr);
    if (stream == nullptr) throwExportFailed();
    return *stream;
}

void AvFormatOutput::writeHeader(std::span<const MuxerOption> options) {
    AVDictionary* dictionary = nullptr;
    for (const auto& option : options) av_dict_set(&dictionary, option.name, option.value, 0);
    const int result = avformat_write_header(context_, &dictionary);
    // An option the muxer did not take would leave the copy written otherwise than we meant.
    const bool allTaken = av_dict_count(dictionary) == 0;
    av_dict_free(&dictionary);
    check(result);
    if (!allTaken) throwExportFailed();
}

void AvFormatOutput::writePacket(AVPacket& packet) { check(av_interleaved_write_frame(context_, &packet)); }

void AvFormatOutput::finish() {
    check(av_write_trailer(context_));
    avio_flush(io_);
    check(io_->error);
}

ByteView AvFormatOutput::head() const { return writer_->head; }

void AvFormatOutput::overwrite(const ByteRange& range, std::uint8_t value) {
    if (range.offset < 0 || range.length < 0 || range.offset > writer_->length - range.length) throwExportFailed();
    const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(range.length), value);
    posix::writeAllAt(writer_->fd, bytes, range.offset);
    if (range.offset < static_cast<std::int64_t>(writer_->head.size())) {
        const auto end = std::min<std::int64_t>(range.offset + range.length, writer_->head.size());
        std::fill(writer_->head.begin() + range.offset, writer_->head.begin() + end, value);
    }
}

void AvFormatOutput::check(int result) const {
    if (writer_->systemError != 0) throw std::system_error(writer_->systemError, std::generic_category());
    if (result < 0 || writer_->limitExceeded || writer_->deadline.passed()) throwExportFailed();
}

}  // namespace velquor::files
