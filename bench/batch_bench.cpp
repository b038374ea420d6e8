// A batch of 200 mixed files, as a folder audit meets them: photos (JPEG and PNG), PDF, SVG,
// Word documents and MP4 videos, 40 of each kind. The whole batch (collecting the folder and
// inspecting every file) with one and with two workers, next to `exiftool -j` over the same
// files, which reads the same kinds of metadata.
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchRunner.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/SvgFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

// One sample of each kind; a failing tool throws, since a benchmark over broken files would
// measure nothing.
void writeSamples(const fs::path& samples) {
    writeTags(makeTestImage(samples / "photo.jpg", "1024x768", 1),
              {"-Artist=Jane Doe", "-Make=Phone", "-Model=X", "-GPSLatitude=51.5", "-GPSLatitudeRef=N",
               "-GPSLongitude=0.12", "-GPSLongitudeRef=W", "-DateTimeOriginal=2024:01:02 03:04:05"});
    makeTestImage(samples / "shot.png", "640x480", 1, {"-metadata", "Comment=holiday"});
    MediaFixtures(samples).make("clip.mp4", {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f",
                                             "lavfi", "-i", "sine=duration=2", "-c:v", "mpeg4", "-c:a", "aac",
                                             "-metadata", "title=Walk", "-metadata", "location=+48.8584+002.2945/"});
    auto minutes = minimalWordDocument("<w:r><w:t>Minutes of the meeting</w:t></w:r>");
    minutes["docProps/core.xml"] = corePropertiesPart("Jane Doe", "Minutes");
    zipWithSystemZip(samples, minutes, samples / "minutes.docx");
    writeBytes(samples / "report.pdf",
               bytesOf(samplePdf({.info = "/Title (Quarterly report) /Author (Jane Doe) /Producer (Writer) "
                                          "/CreationDate (D:20240102030405Z)",
                                  .annotations = {"/Subtype /Text /Rect [10 10 20 20] /Contents (Check this) "
                                                  "/T (Reviewer)"},
                                  .pageCount = 8})));
    writeBytes(samples / "drawing.svg", bytesOf(editorDrawingSvg(30'000)));
}

// The 200 files, made once per run in a private folder that is removed at exit.
class MixedBatch {
public:
    MixedBatch() {
        const auto samples = directory_.path() / "samples";
        fs::create_directories(samples);
        writeSamples(samples);
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
    TemporaryDirectory directory_;
    fs::path folder_;
    std::vector<fs::path> files_;
};

const MixedBatch& mixedBatch() {
    static const MixedBatch batch;
    return batch;
}

void velquorBatch(benchmark::State& state) {
    const auto& batch = mixedBatch();
    const std::vector<fs::path> selection{batch.folder()};
    const auto workers = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const auto files = velquor::workflow::inspectableBatchFiles(selection, velquor::workflow::batchFileLimit);
        const auto rows = velquor::workflow::inspectBatch(files, {.workers = workers, .stop = {}, .progress = {}});
        if (rows.size() != 200) state.SkipWithError("the batch lost rows");
        benchmark::DoNotOptimize(rows);
    }
    state.counters["files"] = 200;
}

void exiftoolJson(benchmark::State& state) {
    const auto& batch = mixedBatch();
    std::vector<std::string> arguments{"-j", "-q"};
    for (const auto& file : batch.files()) arguments.push_back(file.string());
    for (auto _ : state) benchmark::DoNotOptimize(runTool("/usr/bin/exiftool", arguments));
    state.counters["files"] = 200;
}

}  // namespace

BENCHMARK(velquorBatch)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(exiftoolJson)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
