// A batch of 200 mixed files, as a folder audit meets them: photos (JPEG and PNG), PDF, SVG,
// Word documents and MP4 videos, 40 of each kind. The whole batch (collecting the folder and
// inspecting every file) with one and with two workers, next to `exiftool -j` over the same
// files, which reads the same kinds of metadata.
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchRunner.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs a tool (no shell) in `folder` with its output discarded; a failing tool ends the program,
// since a benchmark over broken files would measure nothing.
void runTool(const std::vector<std::string>& arguments, const fs::path& folder = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<std::string> copies(arguments);
    std::vector<char*> argv;
    for (auto& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "batch_bench: " << arguments[0] << " failed\n";
        std::exit(1);
    }
}

void writeFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string samplePdf() {
    std::vector<std::string> objects{"<< /Type /Catalog /Pages 2 0 R >>", "",
                                     "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
                                     "<< /Title (Quarterly report) /Author (Jane Doe) /Producer (Writer) "
                                     "/CreationDate (D:20240102030405Z) >>"};
    std::string kids;
    for (int page = 0; page < 8; ++page) {
        const std::string text = "BT /F1 12 Tf 72 720 Td (Page " + std::to_string(page + 1) + ") Tj ET";
        objects.push_back("<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text + "\nendstream");
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                          std::to_string(objects.size()) +
                          " 0 R /Resources << /Font << /F1 3 0 R >> >> "
                          "/Annots [<< /Type /Annot /Subtype /Text /Rect [10 10 20 20] /Contents (Check this) "
                          "/T (Reviewer) >>] >>");
        kids += std::to_string(objects.size()) + " 0 R ";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count 8 >>";
    std::string file = "%PDF-1.7\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const auto xref = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const auto offset : offsets) {
        const auto number = std::to_string(offset);
        file += std::string(10 - number.size(), '0') + number + " 00000 n \n";
    }
    return file + "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

std::string sampleSvg() {
    std::string svg =
        "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
        "<metadata><rdf:RDF><dc:creator>Jane</dc:creator></rdf:RDF></metadata>\n";
    for (int i = 0; i < 300; ++i) {
        svg += "  <g inkscape:label=\"Layer " + std::to_string(i) + "\"><path d=\"M 10," + std::to_string(i) +
               " C 20,30 40,50 60,70 Z\"/><!-- note " + std::to_string(i) + " --></g>\n";
    }
    return svg + "</svg>\n";
}

void writeWordDocument(const fs::path& work, const fs::path& archive) {
    const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    writeFile(work / "[Content_Types].xml",
              xml +
                  "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                  "<Default Extension=\"rels\" "
                  "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                  "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    writeFile(work / "_rels/.rels",
              xml +
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    writeFile(work / "word/document.xml",
              xml +
                  "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
                  "<w:p><w:r><w:t>Minutes of the meeting</w:t></w:r></w:p></w:body></w:document>");
    writeFile(work / "docProps/core.xml",
              xml +
                  "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
                  "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>Jane Doe"
                  "</dc:creator><dc:title>Minutes</dc:title></cp:coreProperties>");
    runTool({"/usr/bin/zip", "-q", "-r", "-X", archive.string(), "."}, work);
}

// The 200 files, made once per run in a private folder that is removed at exit.
class MixedBatch {
public:
    MixedBatch() {
        std::string pattern = (fs::temp_directory_path() / "velquor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        root_ = pattern;
        const auto samples = root_ / "samples";
        fs::create_directories(samples);
        const std::string ffmpeg = "/usr/bin/ffmpeg";
        runTool(
            {ffmpeg, "-f", "lavfi", "-i", "testsrc=size=1024x768", "-frames:v", "1", (samples / "photo.jpg").string()});
        runTool({"/usr/bin/exiftool", "-q", "-overwrite_original", "-Artist=Jane Doe", "-Make=Phone", "-Model=X",
                 "-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-GPSLongitude=0.12", "-GPSLongitudeRef=W",
                 "-DateTimeOriginal=2024:01:02 03:04:05", (samples / "photo.jpg").string()});
        runTool({ffmpeg, "-f", "lavfi", "-i", "testsrc=size=640x480", "-frames:v", "1", "-metadata", "Comment=holiday",
                 (samples / "shot.png").string()});
        runTool({ffmpeg, "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                 "sine=duration=2", "-c:v", "mpeg4", "-c:a", "aac", "-metadata", "title=Walk", "-metadata",
                 "location=+48.8584+002.2945/", (samples / "clip.mp4").string()});
        writeWordDocument(samples / "docx", samples / "minutes.docx");
        writeFile(samples / "report.pdf", samplePdf());
        writeFile(samples / "drawing.svg", sampleSvg());

        const auto folder = root_ / "audit";
        fs::create_directories(folder);
        const std::pair<const char*, int> kinds[] = {{"photo.jpg", 20},   {"shot.png", 20},     {"report.pdf", 40},
                                                     {"drawing.svg", 40}, {"minutes.docx", 40}, {"clip.mp4", 40}};
        for (const auto& [sample, count] : kinds) {
            for (int i = 0; i < count; ++i) {
                const fs::path name = sample;
                const auto copy = folder / (name.stem().string() + "-" + std::to_string(i) + name.extension().string());
                fs::copy_file(samples / sample, copy);
            }
        }
        const std::vector<fs::path> selection{folder};
        files_ = velquor::workflow::inspectableBatchFiles(selection, velquor::workflow::batchFileLimit);
        if (files_.size() != 200) std::abort();
        folder_ = folder;
    }
    ~MixedBatch() { fs::remove_all(root_); }

    const fs::path& folder() const { return folder_; }
    const std::vector<fs::path>& files() const { return files_; }

private:
    fs::path root_;
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
    std::vector<std::string> arguments{"/usr/bin/exiftool", "-j", "-q"};
    for (const auto& file : batch.files()) arguments.push_back(file.string());
    for (auto _ : state) runTool(arguments);
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
