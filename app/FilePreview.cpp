#include "app/FilePreview.h"

#include "core/posix/FileDescriptor.h"

#include <QByteArray>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

namespace velquor::app {

namespace {

// The raster formats the image inspector handles and Qt's plugins decode. Anything else Qt
// could read by content (SVG, XPM and other text formats) gets no preview.
constexpr std::array<std::string_view, 5> previewFormats{"jpeg", "png", "gif", "webp", "tiff"};

bool isPreviewFormat(const QByteArray& format) {
    const std::string_view name(format.constData(), static_cast<std::size_t>(format.size()));
    return std::find(previewFormats.begin(), previewFormats.end(), name) != previewFormats.end();
}

// Opened without blocking and kept only when it is a regular file: a selected path may name a
// FIFO or a device, which a reader would wait on for ever.
std::unique_ptr<QFile> openRegularFile(const std::filesystem::path& path) {
    posix::FileDescriptor descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!descriptor.valid()) return nullptr;
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return nullptr;
    descriptor.release();
    return file;
}

// Qt checks the picture it is about to allocate, which for a decoder that scales by itself is
// the scaled one: a JPEG declaring 60,000 x 60,000 pixels would be decoded at an eighth, 225 MB.
// The declared size decides first.
bool fitsTheAllocationLimit(QSize declared) {
    const auto bytes = std::int64_t{declared.width()} * std::int64_t{declared.height()} * 4;
    return bytes <= (std::int64_t{previewAllocationLimitMegabytes} << 20);
}

}  // namespace

// Once: a later model must not write the setting while an earlier one's worker reads it.
void limitPreviewAllocations() {
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(previewAllocationLimitMegabytes); });
}

QImage decodePreview(const std::filesystem::path& file, QSize box) {
    const auto device = openRegularFile(file);
    if (!device) return {};
    QImageReader reader(device.get());
    if (!isPreviewFormat(reader.format())) return {};
    const QSize declared = reader.size();
    if (declared.isEmpty() || !fitsTheAllocationLimit(declared)) return {};
    if (declared.width() > box.width() || declared.height() > box.height()) {
        reader.setScaledSize(declared.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    reader.setAutoTransform(true);
    return reader.read();
}

}  // namespace velquor::app
