// PDF and SVG inspection at the sizes users drop: a 50 MB PDF with many pages and large images,
// and a 5 MB SVG drawing as an editor saves it; and the cleaning of that SVG.
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/text/base/Utf.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using velquor::files::PDFPrivacySanitizer;
using velquor::files::SVGPrivacySanitizer;

// A private directory for the generated files, removed at exit.
class BenchDirectory {
public:
    BenchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velquor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~BenchDirectory() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const BenchDirectory& benchDirectory() {
    static const BenchDirectory directory;
    return directory;
}

std::filesystem::path writeFile(const std::string& name, const std::string& bytes) {
    const auto path = benchDirectory().path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// 400 pages of text, each showing one of 48 images of 1 MB of incompressible data.
std::string largePdf() {
    std::vector<std::string> objects;
    const auto add = [&](std::string body) {
        objects.push_back(std::move(body));
        return std::to_string(objects.size()) + " 0 R";
    };
    const auto pagesRef = add("");
    const auto font = add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    std::mt19937 random(7);
    std::vector<std::string> images;
    for (int i = 0; i < 48; ++i) {
        std::string data(1 << 20, '\0');
        for (auto& byte : data) byte = static_cast<char>(random());
        images.push_back(
            add("<< /Type /XObject /Subtype /Image /Width 512 /Height 512 /BitsPerComponent 8 "
                "/ColorSpace /DeviceRGB /Filter /DCTDecode /Length " +
                std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream"));
    }
    std::string kids;
    for (int i = 0; i < 400; ++i) {
        const std::string text = "BT /F1 12 Tf 72 720 Td (Page " + std::to_string(i + 1) +
                                 " of the annual report) Tj ET "
                                 "q 200 0 0 200 72 400 cm /Im0 Do Q";
        const auto content = add("<< /Length " + std::to_string(text.size()) + " >>\nstream\n" + text + "\nendstream");
        kids += add("<< /Type /Page /Parent " + pagesRef + " /MediaBox [0 0 612 792] /Contents " + content +
                    " /Resources << /Font << /F1 " + font + " >> /XObject << /Im0 " + images[i % images.size()] +
                    " >> >> >>") +
                " ";
    }
    objects[0] = "<< /Type /Pages /Kids [" + kids + "] /Count 400 >>";
    const auto root = add("<< /Type /Catalog /Pages " + pagesRef + " >>");
    const auto info = add("<< /Title (Annual report) /Author (Jane Doe) /Producer (Writer) >>");

    std::string file = "%PDF-1.7\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const auto xref = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const auto offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        file += line;
    }
    file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root " + root + " /Info " + info +
            " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}

// Groups of paths with editor attributes, links, styles and comments, as a drawing program saves.
std::string largeSvg() {
    std::string svg =
        "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
        "<metadata><rdf:RDF><dc:creator>Jane</dc:creator></rdf:RDF></metadata>\n";
    for (int i = 0; svg.size() < 5'000'000; ++i) {
        svg += "  <!-- layer " + std::to_string(i) + " -->\n  <g inkscape:label=\"Layer " + std::to_string(i) +
               "\" style=\"fill:url(#grad);stroke:#333\">\n    <path d=\"M 10," + std::to_string(i % 500) +
               " C 20,30 40,50 60,70 S 80,90 100,110 Z\" onclick=\"select(" + std::to_string(i) +
               ")\"/>\n"
               "    <a href=\"https://example.com/item/" +
               std::to_string(i) +
               "\"><text>Item &amp; more</text></a>\n"
               "  </g>\n";
    }
    return svg + "</svg>\n";
}

void inspectPdf(benchmark::State& state) {
    const auto file = writeFile("large.pdf", largePdf());
    const PDFPrivacySanitizer inspector;
    for (auto _ : state) benchmark::DoNotOptimize(inspector.inspect(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

void inspectSvg(benchmark::State& state) {
    const auto file = writeFile("large.svg", largeSvg());
    const SVGPrivacySanitizer inspector;
    for (auto _ : state) benchmark::DoNotOptimize(inspector.inspect(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

void cleanSvg(benchmark::State& state) {
    const auto svg = velquor::text::decodeUtf8(largeSvg()).value();
    const SVGPrivacySanitizer sanitizer;
    for (auto _ : state) benchmark::DoNotOptimize(sanitizer.clean(svg));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

}  // namespace

BENCHMARK(inspectPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(inspectSvg)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(cleanSvg)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
