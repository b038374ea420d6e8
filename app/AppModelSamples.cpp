// Writing samples and rewrite actions: a personal baseline read from a folder in the
// background, the style deviations against it, and copying or accepting a reviewed rewrite.
#include "app/AppModel.h"

#include "app/AppStatusTexts.h"
#include "app/Desktop.h"
#include "app/QtText.h"

#include "core/text/input/WritingSamples.h"

#include <QFile>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <system_error>

namespace velquor::app {

namespace {

// The baseline of a folder's samples; a folder that cannot be opened has none. Built off the
// main thread: up to 200 style passes over 2 MB each would freeze the window.
text::WritingStyleBaseline folderBaseline(const std::filesystem::path& folder) {
    std::vector<std::u16string> samples;
    try {
        samples = text::readWritingSamples(folder);
    } catch (const std::system_error&) {
        samples.clear();
    }
    return text::TextSanitizer().writingStyleBaseline(samples);
}

std::vector<text::WritingStyleDeviation> deviationsOf(const QString& text, const text::WritingStyleBaseline& baseline) {
    return text::TextSanitizer().compareWritingStyle(engineView(text), baseline);
}

}  // namespace

void AppModel::chooseWritingBaselineFolder() {
    const auto folder = desktop_.chooseFolder({qtString(baselineFolderPrompt), qtString(baselineFolderMessage)});
    if (folder) loadWritingBaseline(QFile::encodeName(*folder).toStdString());
}

// A newer load supersedes an older one that is still reading.
void AppModel::loadWritingBaseline(const std::filesystem::path& folder) {
    assign(isLoadingWritingBaseline_, true, &AppModel::isLoadingWritingBaselineChanged);
    assign(baselineStatus_, qtString(readingSamplesStatus), &AppModel::baselineStatusChanged);
    const auto generation = ++baselineGeneration_;
    auto* watcher = new QFutureWatcher<text::WritingStyleBaseline>(this);
    connect(watcher, &QFutureWatcher<text::WritingStyleBaseline>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != baselineGeneration_) return;
        applyWritingBaseline(watcher->result());
        assign(isLoadingWritingBaseline_, false, &AppModel::isLoadingWritingBaselineChanged);
    });
    watcher->setFuture(QtConcurrent::run(folderBaseline, folder));
}

void AppModel::applyWritingBaseline(text::WritingStyleBaseline baseline) {
    const auto documents = baseline.documentCount;
    if (documents > 0) {
        assign(writingBaseline_, std::move(baseline), &AppModel::writingBaselineChanged);
        updateStyleDeviations();
        assign(baselineStatus_, qtString(baselineLoadedStatus(documents)), &AppModel::baselineStatusChanged);
    } else {
        assign(writingBaseline_, std::nullopt, &AppModel::writingBaselineChanged);
        updateStyleDeviations();
        assign(baselineStatus_, qtString(noReadableSamplesStatus), &AppModel::baselineStatusChanged);
    }
}

void AppModel::clearWritingBaseline() {
    assign(writingBaseline_, std::nullopt, &AppModel::writingBaselineChanged);
    updateStyleDeviations();
    assign(baselineStatus_, QString(), &AppModel::baselineStatusChanged);
}

void AppModel::setStyleDeviations(std::vector<text::WritingStyleDeviation> deviations) {
    assign(styleDeviations_, std::move(deviations), &AppModel::styleDeviationsChanged);
}

// Against a new baseline, or none, the deviations of the current text; a long text is compared
// on a worker thread, and an analysis still on its way no longer sets them.
void AppModel::updateStyleDeviations() {
    const auto generation = ++deviationGeneration_;
    deviationsPending_ = false;
    if (!writingBaseline_) {
        setStyleDeviations({});
    } else if (inputText_.size() <= synchronousInspectionLimit) {
        setStyleDeviations(deviationsOf(inputText_, *writingBaseline_));
    } else {
        auto* watcher = new QFutureWatcher<std::vector<text::WritingStyleDeviation>>(this);
        connect(watcher, &QFutureWatcher<std::vector<text::WritingStyleDeviation>>::finished, this,
                [this, watcher, generation] {
                    watcher->deleteLater();
                    if (generation != deviationGeneration_) return;
                    deviationsPending_ = false;
                    setStyleDeviations(watcher->result());
                    refreshIsInspectingText();
                });
        deviationsPending_ = true;
        watcher->setFuture(QtConcurrent::run(deviationsOf, inputText_, *writingBaseline_));
    }
    refreshIsInspectingText();
}

text::AuthorshipPromptResult AppModel::authorshipRewritePrompt() const {
    return textSanitizer_.authorshipRewritePrompt(engineView(inputText_), writingBaseline_);
}

text::RewriteComparisonReport AppModel::compareRewrite(const QString& rewritten) const {
    return textSanitizer_.compareRewrite(engineView(inputText_), engineView(rewritten));
}

void AppModel::copyAuthorshipPrompt(const QString& prompt, std::int64_t redactedFindings) {
    if (prompt.isEmpty()) return;
    clearClipboardRestore();
    setTextStatus(writeClipboardText(prompt) ? promptCopiedStatus(redactedFindings)
                                             : std::u16string(promptCopyFailedStatus));
}

void AppModel::copyRewrite(const QString& rewrite) {
    if (rewrite.isEmpty()) return;
    clearClipboardRestore();
    setTextStatus(writeClipboardText(rewrite) ? rewriteCopiedStatus : rewriteCopyFailedStatus);
}

void AppModel::acceptRewrite(const QString& rewrite) {
    if (rewrite.trimmed().isEmpty()) return;
    setPreviousInputText(inputText_);
    setInputText(rewrite);
    inspectText();
    setTextStatus(rewriteAcceptedStatus);
}

}  // namespace velquor::app
