// Files made to keep an inspector busy: animations of 2,000,000 one-pixel frames, a 35 MB PDF
// whose cross-reference table must be rebuilt, 200,000 annotations, and the largest of each
// kind that the PDF budget still accepts. Each run happens in a child process, so that its own
// peak memory is known: the benchmark fails when the outcome, the time or the memory is not
// what it must be.
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/pdf/PdfBudget.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
    double inspectionMegabytes;
    double copyMegabytes;
};

std::string text(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

const ImagePrivacySanitizer images;
const PDFPrivacySanitizer pdfs;

const Case cases[] = {
    {"Gif2MFrames", "gif", [] { return text(longAnimatedGif(2'000'000, 0)); }, images, Outcome::done, Outcome::done,
     std::chrono::seconds(2), std::chrono::seconds(10), 200, 1000},
    {"Apng2MFrames", "png", [] { return text(longAnimatedPng(2'000'000, 0)); }, images, Outcome::done, Outcome::done,
     std::chrono::seconds(2), std::chrono::seconds(10), 200, 1000},
    {"PdfBrokenCrossReference35MB", "pdf", [] { return pdfWithBrokenCrossReference(350'000); }, pdfs, Outcome::refused,
     Outcome::refused, std::chrono::seconds(10), std::chrono::seconds(10), 1000, 1000},
    {"PdfBrokenCrossReference10MB", "pdf", [] { return pdfWithBrokenCrossReference(100'000, 30); }, pdfs, Outcome::done,
     Outcome::done, std::chrono::seconds(10), std::chrono::seconds(10), 1000, 1000},
    {"PdfArrayOf12MNumbers", "pdf", [] { return pdfWithLongArray(12'000'000); }, pdfs, Outcome::refused,
     Outcome::refused, std::chrono::seconds(10), std::chrono::seconds(10), 1000, 1000},
    {"Pdf200kAnnotations", "pdf", [] { return pdfWithAnnotations(200'000); }, pdfs, Outcome::refused, Outcome::refused,
     std::chrono::seconds(10), std::chrono::seconds(10), 1000, 1000},
    {"PdfAnnotationsAtBudget", "pdf", [] { return pdfWithAnnotations(PdfBudget::annotations); }, pdfs, Outcome::done,
     Outcome::done, std::chrono::seconds(10), std::chrono::seconds(10), 1000, 1000},
};

const TemporaryDirectory& folder() {
    static const TemporaryDirectory directory;
    return directory;
}

Outcome outcomeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileSanitizerError&) {
        return Outcome::refused;
    }
    return Outcome::done;
}

struct ChildRun {
    Outcome outcome;
    double peakMegabytes;
};

// The action in a child process, which tells its outcome by its exit status; the child's peak
// memory comes from the kernel.
ChildRun runInChild(const std::function<void()>& action) {
    const pid_t child = fork();
    if (child == 0) _exit(outcomeOf(action) == Outcome::done ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
        return {Outcome::refused, -1};
    }
    return {WEXITSTATUS(status) == 0 ? Outcome::done : Outcome::refused, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// Made in a child too, so that the memory the making took is never counted as a run's.
fs::path fileOf(const Case& benchmarkCase) {
    const auto file = folder().path() / (std::string(benchmarkCase.name) + "." + benchmarkCase.extension);
    if (!fs::exists(file)) {
        runInChild([&] {
            const auto bytes = benchmarkCase.make();
            std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        });
    }
    return file;
}

struct Bounds {
    Outcome expected;
    std::chrono::seconds time;
    double megabytes;
};

std::string failure(const Bounds& bounds, const ChildRun& result, std::chrono::duration<double> elapsed) {
    std::string why;
    if (result.outcome != bounds.expected) why += "the outcome is not the expected one; ";
    if (elapsed > bounds.time) why += "slower than its bound; ";
    if (result.peakMegabytes < 0 || result.peakMegabytes > bounds.megabytes) why += "more memory than its bound; ";
    if (why.empty()) return why;
    return why + std::to_string(elapsed.count()) + " s, " + std::to_string(result.peakMegabytes) + " MB";
}

void run(benchmark::State& state, const Bounds& bounds, const std::function<void()>& action,
         const std::function<void()>& cleanUp) {
    double peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = runInChild(action);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.PauseTiming();
        cleanUp();
        state.ResumeTiming();
        peak = std::max(peak, result.peakMegabytes);
        static std::string why;
        why = failure(bounds, result, elapsed);
        if (!why.empty()) {
            state.SkipWithError(why.c_str());
            break;
        }
    }
    state.counters["peak MB"] = peak;
}

void inspect(benchmark::State& state, const Case& benchmarkCase) {
    const auto file = fileOf(benchmarkCase);
    run(
        state, {benchmarkCase.inspected, benchmarkCase.inspectionBound, benchmarkCase.inspectionMegabytes},
        [&] { benchmark::DoNotOptimize(benchmarkCase.inspector.inspect(file)); }, [] {});
}

void copy(benchmark::State& state, const Case& benchmarkCase) {
    const auto file = fileOf(benchmarkCase);
    const auto destination = folder().path() / (std::string("copy.") + benchmarkCase.extension);
    run(
        state, {benchmarkCase.copied, benchmarkCase.copyBound, benchmarkCase.copyMegabytes},
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
