// Inspection and privacy copy of one recording of every audio and video family, as ffmpeg writes
// it with tags and cover art: what a person waits for when cleaning a folder of recordings. And a
// recording whose tag holds 200,000 tiny frames, which must be refused in a moment rather than
// keep the demuxer's dictionary busy for minutes.
#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using velquor::files::MediaMetadataInspector;
using velquor::testing::MediaFixtures;
using velquor::testing::TemporaryDirectory;

// The recordings, made once per run in a private folder that is removed at exit.
const TemporaryDirectory& recordings() {
    static const TemporaryDirectory folder;
    return folder;
}

fs::path recording(const std::string& extension) {
    const auto file = recordings().path() / ("tagged." + extension);
    if (!fs::exists(file)) MediaFixtures(recordings().path()).tagged(file.filename().string());
    return file;
}

void inspect(benchmark::State& state, const std::string& extension) {
    const auto file = recording(extension);
    for (auto _ : state) benchmark::DoNotOptimize(MediaMetadataInspector().inspect(file));
}

void copy(benchmark::State& state, const std::string& extension) {
    const auto file = recording(extension);
    const auto destination = recordings().path() / ("copy." + extension);
    for (auto _ : state) {
        MediaMetadataInspector().exportPrivacyCopy(file, destination);
        state.PauseTiming();
        fs::remove(destination);
        state.ResumeTiming();
    }
}

fs::path floodedRecording() {
    const auto file = recordings().path() / "flooded.mp3";
    if (!fs::exists(file)) {
        std::ifstream plain(MediaFixtures(recordings().path()).audio("plain.mp3", {}), std::ios::binary);
        const std::string audio{std::istreambuf_iterator<char>(plain), {}};
        std::ofstream(file, std::ios::binary)
            << velquor::testing::id3v2Tag(4, velquor::testing::id3UserTextFrames(4, 200'000)) << audio;
    }
    return file;
}

void refuseFloodedTag(benchmark::State& state) {
    const auto file = floodedRecording();
    for (auto _ : state) {
        try {
            MediaMetadataInspector().inspect(file);
            state.SkipWithError("a tag of 200,000 frames was read");
        } catch (const velquor::files::FileSanitizerError&) {
        }
    }
}
BENCHMARK(refuseFloodedTag)->Unit(benchmark::kMillisecond);

const int registered = [] {
    for (const auto& extension : MediaFixtures::taggedExtensions()) {
        benchmark::RegisterBenchmark(("BM_Inspect/" + extension).c_str(), inspect, extension);
        benchmark::RegisterBenchmark(("BM_PrivacyCopy/" + extension).c_str(), copy, extension);
    }
    return 0;
}();

}  // namespace
