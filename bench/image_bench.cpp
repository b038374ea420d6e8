// 200 mixed images with personal metadata (a few MB in all): inspecting them, writing their
// verified privacy copies, and exiftool -j over the same 200 files in one run for comparison.
#include "core/files/image/ImagePrivacySanitizer.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velquor::files::ImagePrivacySanitizer;
using namespace velquor::testing;

constexpr int imageCount = 200;

struct Kind {
    const char* extension;
    const char* size;
    int frames;
    std::vector<std::string> encoding;
};

// The set is made once: ffmpeg draws one picture per kind, copies fill the folder round-robin,
// and one exiftool run writes camera, location, author and description into all of them.
class ImageSet {
public:
    ImageSet() {
        fs::create_directory(images());
        fs::create_directory(copies());
        const Kind kinds[] = {
            {"jpg", "800x600", 1, {"-q:v", "4"}},
            {"png", "320x240", 1, {}},
            {"gif", "160x120", 4, {}},
            {"webp", "640x480", 1, {"-c:v", "libwebp"}},
            {"tif", "160x120", 1, {}},
            {"avif", "320x240", 1, {"-c:v", "libaom-av1", "-still-picture", "1", "-cpu-used", "8"}},
        };
        std::vector<fs::path> bases;
        for (const auto& kind : kinds) {
            bases.push_back(makeTestImage(directory_.path() / (std::string("base.") + kind.extension), kind.size,
                                          kind.frames, kind.encoding));
        }
        for (int i = 0; i < imageCount; ++i) {
            const auto& base = bases[static_cast<std::size_t>(i) % bases.size()];
            const auto file = images() / ("image-" + std::to_string(i) + base.extension().string());
            fs::copy_file(base, file);
            files_.push_back(file);
        }
        writeTags(images(), personalExifTags());
    }

    const std::vector<fs::path>& files() const { return files_; }
    fs::path images() const { return directory_.path() / "images"; }
    fs::path copies() const { return directory_.path() / "copies"; }
    std::uintmax_t totalBytes() const {
        std::uintmax_t total = 0;
        for (const auto& file : files_) total += fs::file_size(file);
        return total;
    }

private:
    TemporaryDirectory directory_;
    std::vector<fs::path> files_;
};

const ImageSet& imageSet() {
    static const ImageSet set;
    return set;
}

void inspectImages(benchmark::State& state) {
    const auto& set = imageSet();
    const ImagePrivacySanitizer sanitizer;
    for (auto _ : state) {
        for (const auto& file : set.files()) benchmark::DoNotOptimize(sanitizer.inspect(file));
    }
    state.counters["files"] = imageCount;
    state.counters["MB"] = static_cast<double>(set.totalBytes()) / 1e6;
}

void writePrivacyCopies(benchmark::State& state) {
    const auto& set = imageSet();
    const ImagePrivacySanitizer sanitizer;
    for (auto _ : state) {
        for (std::size_t i = 0; i < set.files().size(); ++i) {
            const auto& file = set.files()[i];
            sanitizer.exportPrivacyCopy(file, set.copies() / ("copy-" + std::to_string(i) + file.extension().string()));
        }
        state.PauseTiming();
        for (const auto& copy : fs::directory_iterator(set.copies())) fs::remove(copy.path());
        state.ResumeTiming();
    }
    state.counters["files"] = imageCount;
}

void exiftoolJson(benchmark::State& state) {
    const auto& set = imageSet();
    for (auto _ : state) benchmark::DoNotOptimize(runTool("/usr/bin/exiftool", {"-j", set.images().string()}));
    state.counters["files"] = imageCount;
}

BENCHMARK(inspectImages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(writePrivacyCopies)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(exiftoolJson)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
