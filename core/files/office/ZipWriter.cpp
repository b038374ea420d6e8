#include "core/files/office/ZipWriter.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/ZipArchive.h"

#include <zip.h>

#include <ctime>
#include <new>

namespace velquor::files {

namespace {

// What zip's own default trades between size and time.
constexpr std::uint32_t deflateLevel = 6;

// libzip turns a time into the fields of a zip entry in local time, so the instant to give it
// is local midnight of 1980-01-01, whatever the time zone.
std::time_t earliestZipTime() {
    std::tm midnight{};
    midnight.tm_year = 80;
    midnight.tm_mon = 0;
    midnight.tm_mday = 1;
    midnight.tm_isdst = -1;
    return std::mktime(&midnight);
}

}  // namespace

ZipWriter::ZipWriter() {
    zip_error_t error;
    zip_error_init(&error);
    buffer_ = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (buffer_ != nullptr) archive_ = zip_open_from_source(buffer_, ZIP_TRUNCATE, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (archive_ == nullptr) {
        zip_source_free(buffer_);
        if (code == ZIP_ER_MEMORY) throw std::bad_alloc();
        throwExportFailed();
    }
    // The archive frees its source when it is finished or discarded; the bytes are read after.
    zip_source_keep(buffer_);
}

ZipWriter::~ZipWriter() {
    if (archive_ != nullptr) zip_discard(archive_);
    zip_source_free(buffer_);
}

void ZipWriter::dateAndCompress(std::int64_t index, std::int32_t method, std::uint32_t level) {
    if (index < 0) throwExportFailed();
    const auto entry = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive_, entry, method, level) != 0 ||
        zip_file_set_mtime(archive_, entry, earliestZipTime(), 0) != 0) {
        throwExportFailed();
    }
}

void ZipWriter::add(const std::string& name, std::string bytes, Compression compression) {
    const auto& held = held_.emplace_back(std::move(bytes));
    auto* source = zip_source_buffer(archive_, held.data(), held.size(), 0);
    if (source == nullptr) throwExportFailed();
    const auto index = zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throwExportFailed();
    }
    if (held.empty() || compression == Compression::stored) {
        dateAndCompress(index, ZIP_CM_STORE, 0);
    } else {
        dateAndCompress(index, ZIP_CM_DEFLATE, deflateLevel);
    }
}

void ZipWriter::addCompressedCopy(const ZipArchive& source, const ArchiveEntry& entry) {
    auto* data = zip_source_zip(archive_, source.handle(), entry.index, ZIP_FL_COMPRESSED, 0, -1);
    if (data == nullptr) throwExportFailed();
    const auto index = zip_file_add(archive_, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(data);
        throwExportFailed();
    }
    // The same method as the source, so that libzip has nothing to recompress.
    dateAndCompress(index, entry.compressionMethod, 0);
}

std::vector<std::uint8_t> ZipWriter::finish() {
    if (zip_close(archive_) != 0) throwExportFailed();
    archive_ = nullptr;
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_source_open(buffer_) != 0) throwExportFailed();
    if (zip_source_stat(buffer_, &status) != 0 || (status.valid & ZIP_STAT_SIZE) == 0) {
        zip_source_close(buffer_);
        throwExportFailed();
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.size));
    const auto got = zip_source_read(buffer_, bytes.data(), bytes.size());
    zip_source_close(buffer_);
    if (got < 0 || static_cast<std::uint64_t>(got) != status.size) throwExportFailed();
    return bytes;
}

}  // namespace velquor::files
