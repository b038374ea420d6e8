// Arbitrary bytes as an audio or video file: inspection must end in a report or a file error,
// never a crash or a hang, and a readable file must also survive its family's privacy copy.
#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaInspection.h"
#include "core/files/media/MediaCopyWriting.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <system_error>

namespace {

using namespace velquor::files;

void require(bool condition) {
    if (!condition) std::abort();
}

// The first byte picks the name, whose extension steers probing; the rest is the file.
constexpr std::array<const char*, 14> names{"a.mp4",  "a.mov", "a.m4a", "a.mp3",  "a.wav", "a.aiff", "a.aac",
                                            "a.flac", "a.avi", "a.ogg", "a.opus", "a.mkv", "a.webm", "a.wma"};

void checkReport(const MediaInspection& inspection) {
    std::set<std::u16string> ids;
    for (std::size_t i = 0; i < inspection.entries.size(); ++i) {
        const auto& entry = inspection.entries[i];
        require(ids.insert(entry.id).second);
        require(!entry.value.empty());
        require(entry.section == u"Location" || entry.section == u"Capture" || entry.section == u"Description" ||
                entry.section == u"Media");
        require(i == 0 || inspection.entries[i - 1].section <= entry.section);
    }
    require(!inspection.durationSeconds || *inspection.durationSeconds > 0);
}

void remux(velquor::files::ByteView bytes, const std::string& name) {
    const int fd = ::memfd_create("media-copy", MFD_CLOEXEC);
    if (fd < 0) return;
    try {
        const MediaDeadline deadline(std::chrono::seconds(30));
        AvFormatInput input(mediaBytes(bytes), name, deadline);
        const auto format = mediaCopyFormat(name);
        require(format.has_value());
        writeMediaPrivacyCopy(*format, input, fd, deadline);
    } catch (const FileSanitizerError&) {
    } catch (const std::system_error&) {
    }
    ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string name = names[data[0] % names.size()];
    const velquor::files::ByteView bytes(data + 1, size - 1);
    try {
        checkReport(inspectMediaSource(mediaBytes(bytes), name));
    } catch (const FileSanitizerError&) {
        return 0;
    } catch (const std::system_error&) {
        return 0;
    }
    remux(bytes, name);
    return 0;
}
