// The text workflow: inspection (at once, after the quiet period, or on a worker thread for a
// long text), selection of locations, loading, apply, revert, copy and save.
#include "app/AppModel.h"

#include "app/Desktop.h"
#include "app/QtText.h"

#include "core/text/input/TextInputSafety.h"
#include "core/workflow/StatusTexts.h"
#include "core/workflow/TextAnalysis.h"

#include <QFile>
#include <QFutureWatcher>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/stat.h>

#include <system_error>

namespace velquor::app {

namespace {

// One analysis as the model stores it: the cleaned text already in Qt's form, so that a
// worker, not the main thread, copies a long text.
struct TextInspection {
    std::optional<workflow::TextAnalysis> analysis;
    QString cleanedText;
    QString refusal;  // why the text was not analysed
};

TextInspection inspected(const QString& text, const text::CleaningOptions& options,
                         const std::optional<text::WritingStyleBaseline>& baseline) {
    try {
        auto analysis = workflow::analyzeText(engineView(text), options, baseline);
        auto cleaned = qtString(analysis.cleanedText);
        analysis.cleanedText = {};
        return {std::move(analysis), std::move(cleaned), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, {}, QString::fromUtf8(error.what())};
    }
}

std::filesystem::path localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool isSymbolicLink(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

}  // namespace

void AppModel::setTextStatus(std::u16string_view status) {
    assign(textStatus_, qtString(status), &AppModel::textStatusChanged);
}

void AppModel::setTextSelectionRequest(std::optional<TextSelectionRequest> request) {
    assign(textSelectionRequest_, std::move(request), &AppModel::textSelectionRequestChanged);
}

void AppModel::setPreviousInputText(std::optional<QString> text) {
    const bool couldRevert = canRevert();
    previousInputText_ = std::move(text);
    if (couldRevert != canRevert()) Q_EMIT canRevertChanged();
}

void AppModel::refreshIsInspectingText() {
    assign(isInspectingText_, inspectionPending_ || deviationsPending_, &AppModel::isInspectingTextChanged);
}

void AppModel::supersedeTextAnalysis() {
    ++textAnalysisGeneration_;
    ++deviationGeneration_;
    inspectionPending_ = false;
    deviationsPending_ = false;
    refreshIsInspectingText();
}

void AppModel::inspectText() {
    setTextSelectionRequest(std::nullopt);
    supersedeTextAnalysis();
    if (inputText_.size() > synchronousInspectionLimit) {
        startBackgroundInspection();
        return;
    }
    auto inspection = inspected(inputText_, options_, writingBaseline_);
    if (inspection.analysis) {
        applyTextAnalysis(std::move(*inspection.analysis), std::move(inspection.cleanedText));
    } else {
        clearTextAnalysis(inspection.refusal);
    }
}

void AppModel::startBackgroundInspection() {
    const auto generation = textAnalysisGeneration_;
    const auto deviations = deviationGeneration_;
    auto* watcher = new QFutureWatcher<TextInspection>(this);
    connect(watcher, &QFutureWatcher<TextInspection>::finished, this, [this, watcher, generation, deviations] {
        watcher->deleteLater();
        if (generation != textAnalysisGeneration_) return;
        auto inspection = watcher->result();
        inspectionPending_ = false;
        // A baseline set or cleared meanwhile has already brought its own deviations.
        if (inspection.analysis && deviations != deviationGeneration_) {
            inspection.analysis->styleDeviations = styleDeviations_;
        }
        if (inspection.analysis) {
            applyTextAnalysis(std::move(*inspection.analysis), std::move(inspection.cleanedText));
        } else {
            clearTextAnalysis(inspection.refusal);
        }
        refreshIsInspectingText();
    });
    inspectionPending_ = true;
    refreshIsInspectingText();
    watcher->setFuture(QtConcurrent::run(inspected, inputText_, options_, writingBaseline_));
}

void AppModel::applyTextAnalysis(workflow::TextAnalysis analysis, QString cleanedText) {
    assign(textReport_, std::move(analysis.report), &AppModel::textReportChanged);
    setStyleDeviations(std::move(analysis.styleDeviations));
    assign(cleanedText_, std::move(cleanedText), &AppModel::cleanedTextChanged);
    assign(cleanedChangedOffsets_, std::move(analysis.cleanedChangedOffsets), &AppModel::cleanedChangedOffsetsChanged);
    assign(textSummary_, analysis.summary, &AppModel::textSummaryChanged);
    assign(textChanges_, std::move(analysis.changes), &AppModel::textChangesChanged);
    assign(cleanedOutputVerified_, analysis.cleanedOutputVerified, &AppModel::cleanedOutputVerifiedChanged);
    Q_EMIT textAnalysisApplied();
}

void AppModel::clearTextAnalysis(const QString& status) {
    applyTextAnalysis(workflow::emptyTextAnalysis(), QString());
    assign(textStatus_, status, &AppModel::textStatusChanged);
}

void AppModel::scheduleTextInspection() { textInspectionTimer_.start(); }

void AppModel::selectTextLocation(const QString& sourceID, const QString& label,
                                  std::span<const text::TextLocation> locations) {
    if (locations.empty()) return;
    const auto total = static_cast<std::int64_t>(locations.size());
    const auto index = textSelectionRequest_ && textSelectionRequest_->sourceID == sourceID
                           ? (textSelectionRequest_->occurrence + 1) % total
                           : 0;
    setTextSelectionRequest(
        TextSelectionRequest{QUuid::createUuid(), sourceID, index, locations[static_cast<std::size_t>(index)]});
    setTextStatus(
        workflow::locationSelectedStatus(engineView(label), static_cast<std::size_t>(index), locations.size()));
}

void AppModel::selectIssue(const text::TextIssue& issue) {
    selectTextLocation(QStringLiteral("unicode-") + qtString(issue.id), qtString(text::rawValue(issue.kind)).toLower(),
                       issue.locations);
}

void AppModel::selectChange(const text::TextChangeReviewItem& item) {
    selectTextLocation(QStringLiteral("change-") + qtString(text::rawValue(item.category)),
                       qtString(text::info(item.category).title).toLower(), item.locations);
}

void AppModel::loadTextFile(const std::filesystem::path& file) {
    std::u16string text;
    try {
        text = text::TextInputSafety::readText(file, workflow::applicationTextByteLimit);
    } catch (const std::exception& error) {
        assign(textStatus_, QString::fromUtf8(error.what()), &AppModel::textStatusChanged);
        return;
    }
    setInputText(qtString(text));
    setTextStatus(workflow::textFileLoadedStatus(file));
    setPreviousInputText(std::nullopt);
    inspectText();
}

void AppModel::chooseTextFile() {
    if (const auto file = desktop_.chooseTextFile()) loadTextFile(localPath(*file));
}

void AppModel::loadDroppedText(const QString& text) {
    try {
        text::TextInputSafety::validateText(engineView(text), workflow::applicationTextByteLimit);
    } catch (const text::TextInputError& error) {
        assign(textStatus_, QString::fromUtf8(error.what()), &AppModel::textStatusChanged);
        return;
    }
    setInputText(text);
    setTextStatus(workflow::droppedTextLoadedStatus);
    assign(clipboardFindings_, QStringList(), &AppModel::clipboardFindingsChanged);
    setPreviousInputText(std::nullopt);
    inspectText();
}

void AppModel::replaceTextWithCleaned() {
    if (inputText_ == cleanedText_) return;
    setPreviousInputText(inputText_);
    setInputText(cleanedText_);
    setTextStatus(workflow::cleanedTextAppliedStatus);
    inspectText();
}

void AppModel::revert() {
    if (!previousInputText_) return;
    const QString previous = *previousInputText_;
    setInputText(previous);
    setPreviousInputText(std::nullopt);
    setTextStatus(workflow::revertedTextStatus);
    inspectText();
}

void AppModel::copyCleanedText() {
    if (cleanedText_.isEmpty()) return;
    clearClipboardRestore();
    writeClipboardText(cleanedText_);
    assign(clipboardFindings_, QStringList(), &AppModel::clipboardFindingsChanged);
    setTextStatus(workflow::cleanedTextCopiedStatus);
}

void AppModel::saveCleanedText() {
    if (cleanedText_.isEmpty()) return;
    const auto chosen = desktop_.chooseSavePath(QStringLiteral("cleaned.txt"));
    if (!chosen) return;
    const auto path = localPath(*chosen);
    // The save writes beside a link, never through it: what the link points to stays as it was.
    if (isSymbolicLink(path)) {
        const auto refusal = std::make_error_code(std::errc::too_many_symbolic_link_levels).message();
        assign(textStatus_, QString::fromStdString(refusal), &AppModel::textStatusChanged);
        return;
    }
    QSaveFile file(*chosen);
    const QByteArray bytes = cleanedText_.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        assign(textStatus_, file.errorString(), &AppModel::textStatusChanged);
        return;
    }
    setTextStatus(workflow::cleanedTextSavedStatus(path));
}

}  // namespace velquor::app
