// The file workspace as the window drives it: a folder of 200 mixed files (bench/MixedBatch.h)
// is inspected as a batch through the model, and the main thread's event loop runs until the
// rows are applied. The measured time (manual time) runs from the call to the rows being in
// batchReports; longestMainThread_ms is the longest stretch in which the main thread could not
// run its event loop, the call and the applying of the rows included: the window's
// responsiveness, which must stay under 50 ms.
#include "app/AppModel.h"
#include "bench/HeadlessDesktop.h"
#include "bench/MixedBatch.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

double milliseconds(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

struct Measurement {
    double appliedAfter_ms;
    double longestStretch_ms;
};

// The heartbeat fires whenever the loop is free, so the largest gap between two beats is the
// longest stretch the loop was blocked.
Measurement inspectFolderAndWait(velquor::app::AppModel& model, const std::filesystem::path& folder) {
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceBeat;
    qint64 longest = 0;
    qint64 appliedAfter = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceBeat.nsecsElapsed());
        sinceBeat.restart();
    });
    const auto connection = QObject::connect(&model, &velquor::app::AppModel::batchReportsChanged, &loop, [&] {
        if (model.batchReports().empty()) return;
        appliedAfter = clock.nsecsElapsed();
        // The rest of the applying runs before the loop is free again; the next beat counts it.
        QTimer::singleShot(0, &loop, [&] {
            longest = std::max(longest, sinceBeat.nsecsElapsed());
            loop.quit();
        });
    });
    clock.start();
    sinceBeat.start();
    heartbeat.start();
    model.inspectBatch({folder});
    longest = std::max(longest, sinceBeat.nsecsElapsed());
    loop.exec();
    QObject::disconnect(connection);
    return {milliseconds(appliedAfter), milliseconds(longest)};
}

void batchRowsApplied(benchmark::State& state) {
    const auto& batch = velquor::bench::mixedBatch();
    velquor::bench::HeadlessDesktop desktop;
    velquor::app::AppModel model(desktop);
    double longest = 0;
    for (auto _ : state) {
        const auto measured = inspectFolderAndWait(model, batch.folder());
        state.SetIterationTime(measured.appliedAfter_ms / 1000.0);
        longest = std::max(longest, measured.longestStretch_ms);
        if (model.batchReports().size() != 200) state.SkipWithError("the batch lost rows");
    }
    state.counters["files"] = 200;
    state.counters["longestMainThread_ms"] = longest;
}

}  // namespace

BENCHMARK(batchRowsApplied)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
