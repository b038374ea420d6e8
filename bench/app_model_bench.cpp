// The model as the window drives it: the editor sets a text of mixed prose and schedules its
// inspection, and the main thread's event loop runs until the report is applied. The quiet
// period is set to zero, so the measured time (manual time) runs from the debounce firing to the
// report being applied. longestMainThread_ms is the longest stretch in which the main thread
// could not run its event loop, the setInputText call included: the window's responsiveness.
// Texts up to 262,144 UTF-16 units are analysed on the main thread, longer ones on a worker;
// 500 KiB is just below that boundary, the longest text the main thread analyses itself.
#include "app/AppModel.h"
#include "app/QtText.h"
#include "bench/HeadlessDesktop.h"
#include "bench/MixedProse.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;

double milliseconds(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

// Runs the event loop until the model applies an analysis. The heartbeat fires whenever the loop
// is free, so the largest gap between two beats is the longest stretch the loop was blocked.
struct Measurement {
    double appliedAfter_ms;
    double longestStretch_ms;
};

Measurement inspectAndWait(velquor::app::AppModel& model, const QString& text) {
    QElapsedTimer clock;
    clock.start();
    model.setInputText(text);
    model.scheduleTextInspection();
    qint64 longest = clock.nsecsElapsed();

    QEventLoop loop;
    QElapsedTimer sinceBeat;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceBeat.nsecsElapsed());
        sinceBeat.restart();
    });
    QElapsedTimer sinceSchedule;
    qint64 appliedAfter = 0;
    QObject::connect(&model, &velquor::app::AppModel::textAnalysisApplied, &loop, [&] {
        appliedAfter = sinceSchedule.nsecsElapsed();
        longest = std::max(longest, sinceBeat.nsecsElapsed());
        loop.quit();
    });
    sinceSchedule.start();
    sinceBeat.start();
    heartbeat.start();
    loop.exec();
    return {milliseconds(appliedAfter), milliseconds(longest)};
}

void textApplied(benchmark::State& state) {
    velquor::bench::HeadlessDesktop desktop;
    velquor::app::AppModel model(desktop, {.textInspectionDelay = 0ms});
    const auto prose = velquor::app::qtString(velquor::bench::mixedProse(static_cast<std::size_t>(state.range(0))));
    // Two texts of the same size, so that every iteration is a real change.
    const QString texts[] = {prose, prose + QStringLiteral(" Edited.")};
    double longest = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const auto measured = inspectAndWait(model, texts[next++ % 2]);
        state.SetIterationTime(measured.appliedAfter_ms / 1000.0);
        longest = std::max(longest, measured.longestStretch_ms);
    }
    if (model.cleanedText().isEmpty()) state.SkipWithError("no analysis was applied");
    state.counters["longestMainThread_ms"] = longest;
    state.counters["workerThread"] = model.inputText().size() > velquor::app::synchronousInspectionLimit ? 1 : 0;
}

}  // namespace

BENCHMARK(textApplied)
    ->Arg(100 << 10)
    ->Arg(500 << 10)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
