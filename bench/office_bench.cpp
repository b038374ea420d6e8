// Office documents as users save them: a Word report, an Excel workbook and a PowerPoint deck,
// each with properties, a comment, tracked changes or links and a photo. Inspection and the
// privacy copy of each; the copy is written to a fresh destination every time and removed
// outside the timing.
//
// Medians on the 2-core development machine, 2026-12-07, both builds run back to back:
//
//                        before (unzip and zip)   after (libzip in memory)
//   inspect  docx             39.9 ms                 0.88 ms
//   inspect  xlsx             41.3 ms                 0.77 ms
//   inspect  pptx            157   ms                 1.38 ms
//   copy     docx            154   ms                 7.5  ms
//   copy     xlsx            163   ms                20-33 ms
//   copy     pptx            321   ms                 6.7  ms
//   the 200-file batch of velquor_batch_bench, 1 worker: 1,820 ms before, 113 ms after
//
// "Before" is commit 014ecaf, the last one that ran the tools; to measure it again, unpack it
// with `git archive 014ecaf | tar -x -C DIR`, build this program there and run both.
#include "core/files/InspectorRegistry.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

// The generated files, made once per run and removed at exit.
class OfficeSamples {
public:
    OfficeSamples() {
        const auto photo = makeTestImage(directory_.path() / "photo.jpg", "800x600", 1);
        writeTags(photo, {"-Artist=Jane Doe", "-Make=Phone", "-GPSLatitude=51.5", "-GPSLatitudeRef=N"});
        const auto picture = readFile(photo);
        zipWithSystemZip(directory_.path(), typicalWordDocument(300, picture), path("report.docx"));
        zipWithSystemZip(directory_.path(), typicalWorkbook(2'000, picture), path("figures.xlsx"));
        zipWithSystemZip(directory_.path(), typicalPresentation(20, picture), path("deck.pptx"));
    }

    fs::path path(const std::string& name) const { return directory_.path() / name; }

private:
    static std::string readFile(const fs::path& file) {
        const auto bytes = readBytes(file);
        return std::string(bytes.begin(), bytes.end());
    }

    TemporaryDirectory directory_;
};

const OfficeSamples& samples() {
    static const OfficeSamples made;
    return made;
}

const char* sampleName(std::int64_t index) {
    static const char* const names[] = {"report.docx", "figures.xlsx", "deck.pptx"};
    return names[index];
}

void officeInspect(benchmark::State& state) {
    const auto file = samples().path(sampleName(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(velquor::files::inspectReport(file));
    state.SetLabel(sampleName(state.range(0)));
}

void officePrivacyCopy(benchmark::State& state) {
    const auto source = samples().path(sampleName(state.range(0)));
    const auto destination = samples().path("copy-" + std::string(sampleName(state.range(0))));
    for (auto _ : state) {
        velquor::files::createPrivacyCopy(source, destination);
        state.PauseTiming();
        fs::remove(destination);
        state.ResumeTiming();
    }
    state.SetLabel(sampleName(state.range(0)));
}

}  // namespace

BENCHMARK(officeInspect)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(officePrivacyCopy)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
