#include "core/files/FileTypes.h"

#include "core/text/base/TextConversions.h"

#include <array>

namespace velquor::files {

namespace {

constexpr unsigned image = static_cast<unsigned>(TypeConformance::image);
constexpr unsigned pdf = static_cast<unsigned>(TypeConformance::pdf);
constexpr unsigned audio = static_cast<unsigned>(TypeConformance::audio);
constexpr unsigned movie = static_cast<unsigned>(TypeConformance::movie);
constexpr unsigned video = static_cast<unsigned>(TypeConformance::video);

struct ExtensionRow {
    std::string_view extension;
    UniformType type;
};

constexpr UniformType jpeg{"public.jpeg", u"JPEG image", image};
constexpr UniformType png{"public.png", u"PNG image", image};
constexpr UniformType gif{"com.compuserve.gif", u"GIF image", image};
constexpr UniformType webp{"org.webmproject.webp", u"WebP image", image};
constexpr UniformType tiff{"public.tiff", u"TIFF image", image};
constexpr UniformType heic{"public.heic", u"HEIC image", image};
constexpr UniformType heif{"public.heif", u"HEIF image", image};
constexpr UniformType avif{"public.avif", u"AVIF image", image};
constexpr UniformType svg{"public.svg-image", u"SVG image", image};
constexpr UniformType pdfDocument{"com.adobe.pdf", u"PDF document", pdf};
constexpr UniformType mp3{"public.mp3", u"MP3 audio", audio};
constexpr UniformType m4a{"com.apple.m4a-audio", u"MPEG-4 audio", audio};
constexpr UniformType aac{"public.aac-audio", u"AAC audio", audio};
constexpr UniformType wav{"com.microsoft.waveform-audio", u"Waveform audio", audio};
constexpr UniformType aiff{"public.aiff-audio", u"AIFF audio", audio};
constexpr UniformType flac{"org.xiph.flac", u"FLAC audio", audio};
constexpr UniformType quickTime{"com.apple.quicktime-movie", u"QuickTime movie", movie};
constexpr UniformType mpeg4{"public.mpeg-4", u"MPEG-4 movie", movie};
constexpr UniformType m4v{"com.apple.m4v-video", u"MPEG-4 video", movie | video};
constexpr UniformType avi{"public.avi", u"AVI movie", movie};
constexpr UniformType ogg{"org.xiph.ogg-audio", u"Ogg audio", audio};
constexpr UniformType opus{"org.xiph.opus-audio", u"Opus audio", audio};
constexpr UniformType matroska{"org.matroska.mkv", u"Matroska video", movie | video};
constexpr UniformType matroskaAudio{"org.matroska.mka", u"Matroska audio", audio};
constexpr UniformType webm{"org.webmproject.webm", u"WebM video", movie | video};
constexpr UniformType windowsMediaVideo{"com.microsoft.windows-media-wmv", u"Windows Media video", movie | video};
constexpr UniformType windowsMediaAudio{"com.microsoft.windows-media-wma", u"Windows Media audio", audio};
constexpr UniformType advancedSystemsFormat{"com.microsoft.advanced-systems-format", u"Windows Media file", movie};

// Documents conform to none of the kinds dispatch asks about; their families test the extension.
constexpr UniformType openDocumentText{"org.oasis-open.opendocument.text", u"OpenDocument text", 0};
constexpr UniformType openDocumentSpreadsheet{"org.oasis-open.opendocument.spreadsheet", u"OpenDocument spreadsheet",
                                              0};
constexpr UniformType openDocumentPresentation{"org.oasis-open.opendocument.presentation", u"OpenDocument presentation",
                                               0};
constexpr UniformType openDocumentDrawing{"org.oasis-open.opendocument.graphics", u"OpenDocument drawing", 0};
constexpr UniformType openDocumentTextTemplate{"org.oasis-open.opendocument.text-template",
                                               u"OpenDocument text template", 0};
constexpr UniformType openDocumentSpreadsheetTemplate{"org.oasis-open.opendocument.spreadsheet-template",
                                                      u"OpenDocument spreadsheet template", 0};
constexpr UniformType openDocumentPresentationTemplate{"org.oasis-open.opendocument.presentation-template",
                                                       u"OpenDocument presentation template", 0};
constexpr UniformType openDocumentDrawingTemplate{"org.oasis-open.opendocument.graphics-template",
                                                  u"OpenDocument drawing template", 0};
constexpr UniformType epub{"org.idpf.epub-container", u"EPUB book", 0};

constexpr std::array<ExtensionRow, 45> extensionTable{{
    {"jpg", jpeg},
    {"jpeg", jpeg},
    {"jpe", jpeg},
    {"jfif", jpeg},
    {"png", png},
    {"apng", png},
    {"gif", gif},
    {"webp", webp},
    {"tif", tiff},
    {"tiff", tiff},
    {"heic", heic},
    {"heif", heif},
    {"hif", heif},
    {"avif", avif},
    {"svg", svg},
    {"pdf", pdfDocument},
    {"mp3", mp3},
    {"m4a", m4a},
    {"aac", aac},
    {"wav", wav},
    {"aiff", aiff},
    {"aif", aiff},
    {"flac", flac},
    {"mov", quickTime},
    {"mp4", mpeg4},
    {"m4v", m4v},
    {"avi", avi},
    {"ogg", ogg},
    {"oga", ogg},
    {"opus", opus},
    {"mkv", matroska},
    {"mka", matroskaAudio},
    {"webm", webm},
    {"wmv", windowsMediaVideo},
    {"wma", windowsMediaAudio},
    {"asf", advancedSystemsFormat},
    {"odt", openDocumentText},
    {"ods", openDocumentSpreadsheet},
    {"odp", openDocumentPresentation},
    {"odg", openDocumentDrawing},
    {"ott", openDocumentTextTemplate},
    {"ots", openDocumentSpreadsheetTemplate},
    {"otp", openDocumentPresentationTemplate},
    {"otg", openDocumentDrawingTemplate},
    {"epub", epub},
}};

}  // namespace

std::string lowercasedExtension(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return text::asciiLowercased(name.substr(dot + 1));
}

std::optional<UniformType> typeFromExtension(const std::filesystem::path& path) {
    const auto extension = lowercasedExtension(path);
    if (extension.empty()) return std::nullopt;
    for (const auto& row : extensionTable) {
        if (row.extension == extension) return row.type;
    }
    return std::nullopt;
}

std::optional<UniformType> typeWithIdentifier(std::string_view identifier) {
    for (const auto& row : extensionTable) {
        if (row.type.identifier == identifier) return row.type;
    }
    return std::nullopt;
}

bool extensionConformsTo(const std::filesystem::path& path, TypeConformance conformance) {
    const auto type = typeFromExtension(path);
    return type && type->conformsTo(conformance);
}

}  // namespace velquor::files
