// The text workspace's own costs, measured through the real widgets over the real model:
// - the keystroke cycle: one key typed into "Original Text" of a 100 KiB text, the edit applied
//   to the model, the inspection after the quiet period (shortened to 0 here: the real 150 ms
//   wait comes on top), and the panes and reports updated;
// - a key typed into a 16 MiB text, until the editor and the model have the edit (its inspection
//   runs later on a worker thread);
// - 10,000 highlighted ranges applied to a 1 MiB text in the editor, and the same number of
//   changed characters turned into ranges and shown by the "New Text" preview.
#include "app/AppModel.h"
#include "app/QtText.h"
#include "bench/HeadlessDesktop.h"
#include "bench/MixedProse.h"
#include "ui/ContentView.h"
#include "ui/text/PlainTextPreview.h"
#include "ui/text/SelectableTextEditor.h"
#include "ui/text/TextBeforeAfterView.h"
#include "ui/text/TextWorkspace.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QThreadPool>

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono_literals;
using velquor::app::AppModel;
using velquor::bench::HeadlessDesktop;
using velquor::bench::mixedProse;

struct Window {
    explicit Window(std::size_t bytes, std::chrono::milliseconds quietPeriod)
        : model(desktop, {.textInspectionDelay = quietPeriod}), view(model) {
        view.resize(1120, 720);
        view.show();
        model.loadDroppedText(velquor::app::qtString(mixedProse(bytes)));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        editor = view.textWorkspace()->beforeAfter()->originalEditor()->textView();
        editor->moveCursor(QTextCursor::End);
    }

    HeadlessDesktop desktop;
    AppModel model;
    velquor::ui::ContentView view;
    QPlainTextEdit* editor = nullptr;
};

void keystrokeCycle(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)), 0ms);
    for (auto _ : state) {
        bool applied = false;
        const auto connection =
            QObject::connect(&window.model, &AppModel::textAnalysisApplied, [&] { applied = true; });
        QTest::keyClick(window.editor, Qt::Key_A);
        while (!applied) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        QObject::disconnect(connection);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(keystrokeCycle)->Arg(100 * 1024)->Unit(benchmark::kMillisecond)->UseRealTime();

void keystrokeInLargeText(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)), 150ms);
    for (auto _ : state) {
        QTest::keyClick(window.editor, Qt::Key_A);
        if (window.model.inputText().size() !=
            window.view.textWorkspace()->beforeAfter()->originalEditor()->text().size())
            state.SkipWithError("the model did not receive the edit");
    }
}
BENCHMARK(keystrokeInLargeText)->Arg(16 * 1024 * 1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

std::vector<velquor::text::TextLocation> spreadRanges(std::int64_t length, std::int64_t count) {
    std::vector<velquor::text::TextLocation> ranges;
    const std::int64_t step = length / count;
    for (std::int64_t i = 0; i < count; ++i) ranges.push_back({i * step, 3});
    return ranges;
}

void highlightRanges(benchmark::State& state) {
    velquor::ui::SelectableTextEditor editor;
    editor.resize(540, 460);
    editor.show();
    editor.setText(velquor::app::qtString(mixedProse(1024 * 1024)));
    const auto ranges = spreadRanges(editor.text().size(), state.range(0));
    for (auto _ : state) {
        editor.setHighlights(ranges, QColor(255, 149, 0, 82));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(highlightRanges)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void previewChangedCharacters(benchmark::State& state) {
    velquor::ui::PlainTextPreview preview;
    preview.resize(540, 460);
    preview.show();
    const QString text = velquor::app::qtString(mixedProse(1024 * 1024));
    std::vector<std::int64_t> offsets;
    for (std::int64_t i = 0; i < state.range(0); ++i) offsets.push_back(i * 90);
    std::vector<std::int64_t> shifted = offsets;
    for (auto& offset : shifted) ++offset;
    bool flip = false;
    for (auto _ : state) {
        // Alternating offsets, so that each iteration really recomputes the ranges.
        preview.setContent(text, flip ? shifted : offsets);
        flip = !flip;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(previewChangedCharacters)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
