// PDF and SVG inspection at the sizes users drop: a 50 MB PDF with many pages and large images,
// and a 5 MB SVG drawing as an editor saves it; and the cleaning of that SVG.
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/text/base/Utf.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/SvgFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using velquor::files::PDFPrivacySanitizer;
using velquor::files::SVGPrivacySanitizer;
using velquor::testing::PdfBuilder;

// The generated files, removed at exit.
const velquor::testing::TemporaryDirectory& benchDirectory() {
    static const velquor::testing::TemporaryDirectory directory;
    return directory;
}

// 400 pages of text, each showing one of 48 images of 1 MB of incompressible data.
std::string largePdf() {
    PdfBuilder pdf;
    const auto font = PdfBuilder::reference(pdf.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
    std::mt19937 random(7);
    std::vector<std::string> images;
    for (int i = 0; i < 48; ++i) {
        std::string data(1 << 20, '\0');
        for (auto& byte : data) byte = static_cast<char>(random());
        images.push_back(PdfBuilder::reference(
            pdf.addStream("/Type /XObject /Subtype /Image /Width 512 /Height 512 /BitsPerComponent 8 "
                          "/ColorSpace /DeviceRGB /Filter /DCTDecode",
                          data)));
    }
    std::vector<std::string> pages;
    for (std::size_t i = 0; i < 400; ++i) {
        const auto content = PdfBuilder::reference(
            pdf.addStream("", "BT /F1 12 Tf 72 720 Td (Page " + std::to_string(i + 1) +
                                  " of the annual report) Tj ET q 200 0 0 200 72 400 cm /Im0 Do Q"));
        pages.push_back("/MediaBox [0 0 612 792] /Contents " + content + " /Resources << /Font << /F1 " + font +
                        " >> /XObject << /Im0 " + images[i % images.size()] + " >> >>");
    }
    const int root = pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(pdf.addPageTree(pages)) + " >>");
    const int info = pdf.add("<< /Title (Annual report) /Author (Jane Doe) /Producer (Writer) >>");
    return pdf.build(root, "/Info " + PdfBuilder::reference(info));
}

void inspectPdf(benchmark::State& state) {
    const auto file = benchDirectory().write("large.pdf", largePdf());
    const PDFPrivacySanitizer inspector;
    for (auto _ : state) benchmark::DoNotOptimize(inspector.inspect(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

void inspectSvg(benchmark::State& state) {
    const auto file = benchDirectory().write("large.svg", velquor::testing::editorDrawingSvg(5'000'000));
    const SVGPrivacySanitizer inspector;
    for (auto _ : state) benchmark::DoNotOptimize(inspector.inspect(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

void cleanSvg(benchmark::State& state) {
    const auto svg = velquor::text::decodeUtf8(velquor::testing::editorDrawingSvg(5'000'000)).value();
    const SVGPrivacySanitizer sanitizer;
    for (auto _ : state) benchmark::DoNotOptimize(sanitizer.clean(svg));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

}  // namespace

BENCHMARK(inspectPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(inspectSvg)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(cleanSvg)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
