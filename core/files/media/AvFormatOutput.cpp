#include "core/files/media/AvFormatOutput.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/AvContextRules.h"
#include "core/posix/FileDescriptor.h"

#include <cerrno>
#include <limits>
#include <new>
#include <system_error>

extern "C" {
#include <libavutil/mem.h>
}

namespace velquor::files {

namespace {

constexpr int ioBufferSize = 1 << 16;

}  // namespace

struct AvFormatOutput::Writer {
    int fd;
    std::int64_t maximumByteCount;
    const MediaDeadline& deadline;
    std::int64_t position = 0;
    std::int64_t length = 0;
    int systemError = 0;
    bool limitExceeded = false;

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
    : writer_(new Writer{fd, maximumByteCount, deadline}) {
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

void AvFormatOutput::writeHeader() { check(avformat_write_header(context_, nullptr)); }

void AvFormatOutput::writePacket(AVPacket& packet) { check(av_interleaved_write_frame(context_, &packet)); }

void AvFormatOutput::finish() {
    check(av_write_trailer(context_));
    avio_flush(io_);
    check(io_->error);
}

void AvFormatOutput::check(int result) const {
    if (writer_->systemError != 0) throw std::system_error(writer_->systemError, std::generic_category());
    if (result < 0 || writer_->limitExceeded || writer_->deadline.passed()) throwExportFailed();
}

}  // namespace velquor::files
