// The file workspace's views with the largest inputs they get, shown at the window's size and
// painted once after each change:
// - a batch of 200 rows (the batch limit) applied to the batch table;
// - a report of 500 metadata entries and two provenance notices applied to the file report.
// The target for both is 50 ms.
#include "core/files/FileMetadataReport.h"
#include "core/workflow/BatchFileReport.h"
#include "ui/files/BatchReportTable.h"
#include "ui/files/FileReportView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::u16string numbered(std::u16string_view text, std::size_t n) {
    const auto digits = std::to_string(n);
    return std::u16string(text) + std::u16string(digits.begin(), digits.end());
}

std::vector<velquor::workflow::BatchFileReport> batchRows(std::size_t count) {
    std::vector<velquor::workflow::BatchFileReport> rows;
    for (std::size_t i = 0; i < count; ++i) {
        rows.push_back({.id = std::to_string(i),
                        .url = "/home/ann/Pictures/holiday/IMG_" + std::to_string(1000 + i) + ".jpg",
                        .type = u"JPEG image",
                        .findings = static_cast<std::int64_t>(i % 17),
                        .status = i % 5 == 0 ? u"Possible provenance" : u"OK"});
    }
    return rows;
}

velquor::files::FileMetadataReport largeReport(std::size_t entries) {
    velquor::files::FileMetadataReport report;
    report.fileName = u"IMG_1000.jpg";
    report.typeDescription = u"JPEG image";
    report.byteCount = 4'812'331;
    report.pixelSize = u"4032 x 3024";
    for (std::size_t i = 0; i < entries; ++i) {
        report.entries.push_back({numbered(u"entry-", i), i % 3 == 0 ? u"Location" : u"Capture", numbered(u"Field ", i),
                                  numbered(u"A value long enough to be shortened ", i)});
    }
    report.provenanceEvidence = {
        {velquor::files::ProvenanceConfidence::possible, u"XMP", u"an XMP provenance field", false},
        {velquor::files::ProvenanceConfidence::confirmed, u"C2PA", u"a C2PA manifest store", true}};
    return report;
}

void batchTable(benchmark::State& state) {
    velquor::ui::BatchReportTable view([](const std::filesystem::path&) {});
    view.resize(1080, 400);
    view.show();
    const auto rows = batchRows(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        view.setReports(rows);
        view.repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(batchTable)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

void fileReport(benchmark::State& state) {
    velquor::ui::FileReportView view;
    view.resize(1080, 400);
    view.show();
    const auto report = largeReport(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        view.setReport(report, false);
        view.repaint();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(fileReport)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
