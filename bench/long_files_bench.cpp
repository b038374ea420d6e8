// Files made to keep an inspector busy: animations of 2,000,000 one-pixel frames, a 35 MB PDF
// whose cross-reference table must be rebuilt, 200,000 annotations, and the largest of each
// kind that the PDF budget still accepts. Each run checks its outcome and its time bound (an
// error when either is wrong) and reports the process's peak memory so far.
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/pdf/PdfBudget.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;
using velquor::files::FileInspector;
using velquor::files::FileSanitizerError;
using velquor::files::ImagePrivacySanitizer;
using velquor::files::PdfBudget;
using velquor::files::PDFPrivacySanitizer;
using namespace velquor::testing;

enum class Outcome { done, refused };

struct Case {
    const char* name;
    const char* extension;
    std::function<std::string()> make;
    const FileInspector& inspector;
    Outcome inspected;
    Outcome copied;
    std::chrono::seconds inspectionBound;
    std::chrono::seconds copyBound;
};

std::string text(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

const ImagePrivacySanitizer images;
const PDFPrivacySanitizer pdfs;

const Case cases[] = {
    {"Gif2MFrames", "gif", [] { return text(longAnimatedGif(2'000'000, 0)); }, images, Outcome::done, Outcome::done,
     std::chrono::seconds(2), std::chrono::seconds(10)},
    {"Apng2MFrames", "png", [] { return text(longAnimatedPng(2'000'000, 0)); }, images, Outcome::done, Outcome::done,
     std::chrono::seconds(2), std::chrono::seconds(10)},
    {"PdfBrokenCrossReference35MB", "pdf", [] { return pdfWithBrokenCrossReference(350'000); }, pdfs, Outcome::refused,
     Outcome::refused, std::chrono::seconds(10), std::chrono::seconds(10)},
    {"PdfBrokenCrossReferenceAtRebuildLimit", "pdf", [] { return pdfWithBrokenCrossReference(140'000, 30); }, pdfs,
     Outcome::done, Outcome::done, std::chrono::seconds(10), std::chrono::seconds(10)},
    {"Pdf200kAnnotations", "pdf", [] { return pdfWithAnnotations(200'000); }, pdfs, Outcome::refused, Outcome::refused,
     std::chrono::seconds(10), std::chrono::seconds(10)},
    {"PdfAnnotationsAtBudget", "pdf", [] { return pdfWithAnnotations(PdfBudget::annotations); }, pdfs, Outcome::done,
     Outcome::done, std::chrono::seconds(10), std::chrono::seconds(10)},
};

const TemporaryDirectory& folder() {
    static const TemporaryDirectory directory;
    return directory;
}

fs::path fileOf(const Case& benchmarkCase) {
    const auto file = folder().path() / (std::string(benchmarkCase.name) + "." + benchmarkCase.extension);
    if (!fs::exists(file)) {
        const auto bytes = benchmarkCase.make();
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return file;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

Outcome outcomeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileSanitizerError&) {
        return Outcome::refused;
    }
    return Outcome::done;
}

void run(benchmark::State& state, Outcome expected, std::chrono::seconds bound, const std::function<void()>& action,
         const std::function<void()>& cleanUp) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto outcome = outcomeOf(action);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        state.PauseTiming();
        cleanUp();
        state.ResumeTiming();
        if (outcome != expected) state.SkipWithError("the outcome is not the expected one");
        if (elapsed > bound) state.SkipWithError("slower than its bound");
    }
    state.counters["peak MB"] = peakMegabytes();
}

void inspect(benchmark::State& state, const Case& benchmarkCase) {
    const auto file = fileOf(benchmarkCase);
    run(
        state, benchmarkCase.inspected, benchmarkCase.inspectionBound,
        [&] { benchmark::DoNotOptimize(benchmarkCase.inspector.inspect(file)); }, [] {});
}

void copy(benchmark::State& state, const Case& benchmarkCase) {
    const auto file = fileOf(benchmarkCase);
    const auto destination = folder().path() / (std::string("copy.") + benchmarkCase.extension);
    run(
        state, benchmarkCase.copied, benchmarkCase.copyBound,
        [&] { benchmarkCase.inspector.exportPrivacyCopy(file, destination); }, [&] { fs::remove(destination); });
}

const int registered = [] {
    for (const auto& benchmarkCase : cases) {
        benchmark::RegisterBenchmark((std::string("Inspect/") + benchmarkCase.name).c_str(), inspect, benchmarkCase)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark((std::string("PrivacyCopy/") + benchmarkCase.name).c_str(), copy, benchmarkCase)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return 0;
}();

}  // namespace
