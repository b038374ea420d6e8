#pragma once

// A batch of 200 mixed files, as a folder audit meets them: photos (JPEG and PNG), PDF, SVG,
// Word documents and MP4 videos, 40 of each kind, made once per run in a private folder that is
// removed at exit. Shared by the batch benchmark and the model's file workflow benchmark.
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchFileReport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/SvgFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace velquor::bench {

namespace fs = std::filesystem;

// One sample of each kind; a failing tool throws, since a benchmark over broken files would
// measure nothing.
inline void writeMixedSamples(const fs::path& samples) {
    testing::writeTags(testing::makeTestImage(samples / "photo.jpg", "1024x768", 1),
                       {"-Artist=Jane Doe", "-Make=Phone", "-Model=X", "-GPSLatitude=51.5", "-GPSLatitudeRef=N",
                        "-GPSLongitude=0.12", "-GPSLongitudeRef=W", "-DateTimeOriginal=2024:01:02 03:04:05"});
    testing::makeTestImage(samples / "shot.png", "640x480", 1, {"-metadata", "Comment=holiday"});
    testing::MediaFixtures(samples).make(
        "clip.mp4",
        {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i", "sine=duration=2", "-c:v",
         "mpeg4", "-c:a", "aac", "-metadata", "title=Walk", "-metadata", "location=+48.8584+002.2945/"});
    auto minutes = testing::minimalWordDocument("<w:r><w:t>Minutes of the meeting</w:t></w:r>");
    minutes["docProps/core.xml"] = testing::corePropertiesPart("Jane Doe", "Minutes");
    testing::zipWithSystemZip(samples, minutes, samples / "minutes.docx");
    testing::writeBytes(samples / "report.pdf",
                        testing::bytesOf(testing::samplePdf(
                            {.info = "/Title (Quarterly report) /Author (Jane Doe) /Producer (Writer) "
                                     "/CreationDate (D:20240102030405Z)",
                             .annotations = {"/Subtype /Text /Rect [10 10 20 20] /Contents (Check this) "
                                             "/T (Reviewer)"},
                             .pageCount = 8})));
    testing::writeBytes(samples / "drawing.svg", testing::bytesOf(testing::editorDrawingSvg(30'000)));
}

class MixedBatch {
public:
    MixedBatch() {
        const auto samples = directory_.path() / "samples";
        fs::create_directories(samples);
        writeMixedSamples(samples);
        folder_ = directory_.path() / "audit";
        fs::create_directories(folder_);
        const std::pair<const char*, int> kinds[] = {{"photo.jpg", 20},   {"shot.png", 20},     {"report.pdf", 40},
                                                     {"drawing.svg", 40}, {"minutes.docx", 40}, {"clip.mp4", 40}};
        for (const auto& [sample, count] : kinds) {
            for (int i = 0; i < count; ++i) {
                const fs::path name = sample;
                fs::copy_file(samples / sample,
                              folder_ / (name.stem().string() + "-" + std::to_string(i) + name.extension().string()));
            }
        }
        const std::vector<fs::path> selection{folder_};
        files_ = velquor::workflow::inspectableBatchFiles(selection, velquor::workflow::batchFileLimit);
        if (files_.size() != 200) throw std::runtime_error("the batch folder does not hold 200 files");
    }

    const fs::path& folder() const { return folder_; }
    const std::vector<fs::path>& files() const { return files_; }

private:
    testing::TemporaryDirectory directory_;
    fs::path folder_;
    std::vector<fs::path> files_;
};

inline const MixedBatch& mixedBatch() {
    static const MixedBatch batch;
    return batch;
}

}  // namespace velquor::bench
