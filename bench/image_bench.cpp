// 200 mixed images with personal metadata (a few MB in all): inspecting them, writing their
// verified privacy copies, and exiftool -j over the same 200 files in one run for comparison.
#include "core/files/image/ImagePrivacySanitizer.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using velquor::files::ImagePrivacySanitizer;

constexpr int imageCount = 200;

int run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::vector<std::string> copies(arguments);
    for (auto& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot run " + arguments[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Kind {
    const char* extension;
    std::vector<std::string> encoding;
};

// The set is made once: ffmpeg draws one picture per kind, copies fill the folder round-robin,
// and one exiftool run writes camera, location, author and description into all of them.
class ImageSet {
public:
    ImageSet() {
        std::string pattern = (fs::temp_directory_path() / "velquor-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
        root_ = pattern;
        fs::create_directory(root_ / "images");
        fs::create_directory(root_ / "copies");
        const Kind kinds[] = {
            {"jpg", {"-s", "800x600", "-frames:v", "1", "-q:v", "4"}},
            {"png", {"-s", "320x240", "-frames:v", "1"}},
            {"gif", {"-s", "160x120", "-frames:v", "4"}},
            {"webp", {"-s", "640x480", "-frames:v", "1", "-c:v", "libwebp"}},
            {"tif", {"-s", "160x120", "-frames:v", "1"}},
            {"avif",
             {"-s", "320x240", "-frames:v", "1", "-c:v", "libaom-av1", "-still-picture", "1", "-cpu-used", "8"}},
        };
        std::vector<fs::path> bases;
        for (const auto& kind : kinds) {
            const auto base = root_ / (std::string("base.") + kind.extension);
            std::vector<std::string> arguments{"/usr/bin/ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=rate=4"};
            arguments.insert(arguments.end(), kind.encoding.begin(), kind.encoding.end());
            arguments.push_back(base.string());
            if (run(arguments) != 0) throw std::runtime_error("ffmpeg failed for " + base.string());
            bases.push_back(base);
        }
        for (int i = 0; i < imageCount; ++i) {
            const auto& base = bases[static_cast<std::size_t>(i) % bases.size()];
            const auto file = root_ / "images" / ("image-" + std::to_string(i) + base.extension().string());
            fs::copy_file(base, file);
            files_.push_back(file);
        }
        run({"/usr/bin/exiftool", "-q", "-q", "-overwrite_original", "-Artist=Ann Example", "-Make=Canon",
             "-Model=EOS 5", "-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-GPSLongitude=0.125", "-GPSLongitudeRef=W",
             "-ImageDescription=Our garden", "-XMP-dc:Creator=Ann Example", "-Comment=taken at home",
             (root_ / "images").string()});
    }
    ~ImageSet() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    const std::vector<fs::path>& files() const { return files_; }
    fs::path images() const { return root_ / "images"; }
    fs::path copies() const { return root_ / "copies"; }
    std::uintmax_t totalBytes() const {
        std::uintmax_t total = 0;
        for (const auto& file : files_) total += fs::file_size(file);
        return total;
    }

private:
    fs::path root_;
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
    for (auto _ : state) {
        if (run({"/usr/bin/exiftool", "-j", set.images().string()}) != 0) state.SkipWithError("exiftool failed");
    }
    state.counters["files"] = imageCount;
}

BENCHMARK(inspectImages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(writePrivacyCopies)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(exiftoolJson)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
