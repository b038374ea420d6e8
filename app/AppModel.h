#pragma once

#include "app/AppUpdateState.h"
#include "app/LatestTask.h"
#include "app/TextSelectionRequest.h"
#include "app/WorkspaceTab.h"
#include "app/clipboard/ClipboardSnapshot.h"

#include "core/files/FileMetadataReport.h"
#include "core/text/TextSanitizer.h"
#include "core/text/records/AuthorshipPromptResult.h"
#include "core/text/records/CleaningOptions.h"
#include "core/text/records/RewriteComparisonReport.h"
#include "core/text/records/TextChangeCategory.h"
#include "core/text/records/TextChangeReview.h"
#include "core/text/records/TextChangeSummary.h"
#include "core/text/records/TextIssue.h"
#include "core/text/records/TextReport.h"
#include "core/text/records/WritingStyleBaseline.h"
#include "core/workflow/BatchFileReport.h"
#include "core/workflow/BatchProgress.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantList>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace velquor::workflow {
struct TextAnalysis;
}

class QFutureWatcherBase;

namespace velquor::app {

class Desktop;

// The model's two waits; tests shorten them.
struct AppModelTimings {
    std::chrono::milliseconds textInspectionDelay{150};  // quiet period after an edit
    std::chrono::milliseconds clipboardRestoreLifetime{std::chrono::seconds(300)};
};

// Texts up to this many UTF-16 code units are inspected at once on the main thread; longer ones
// on a worker thread, so that a large paste never freezes the window. The results are the same.
inline constexpr qsizetype synchronousInspectionLimit = 262'144;

// The one controller of the application: all state the window shows and every user action.
// Lives on the main thread; views read its properties, follow their change signals and call its
// operations, never the engines. A write of an equal value emits nothing. The operations are
// split by workflow: AppModelText.cpp, AppModelClipboard.cpp, AppModelSamples.cpp,
// AppModelFiles.cpp.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(velquor::app::WorkspaceTab selectedTab READ selectedTab WRITE setSelectedTab NOTIFY selectedTabChanged)
    Q_PROPERTY(QString inputText READ inputText WRITE setInputText NOTIFY inputTextChanged)
    Q_PROPERTY(bool removeUnsafeUnicode READ removeUnsafeUnicode WRITE setRemoveUnsafeUnicode NOTIFY
                   removeUnsafeUnicodeChanged)
    Q_PROPERTY(bool normalizeWhitespace READ normalizeWhitespace WRITE setNormalizeWhitespace NOTIFY
                   normalizeWhitespaceChanged)
    Q_PROPERTY(bool stripTrackingParameters READ stripTrackingParameters WRITE setStripTrackingParameters NOTIFY
                   stripTrackingParametersChanged)
    Q_PROPERTY(bool normalizePunctuation READ normalizePunctuation WRITE setNormalizePunctuation NOTIFY
                   normalizePunctuationChanged)
    Q_PROPERTY(bool asciiOnly READ asciiOnly WRITE setAsciiOnly NOTIFY asciiOnlyChanged)
    Q_PROPERTY(bool flattenMarkdown READ flattenMarkdown WRITE setFlattenMarkdown NOTIFY flattenMarkdownChanged)
    Q_PROPERTY(bool unwrapParagraphs READ unwrapParagraphs WRITE setUnwrapParagraphs NOTIFY unwrapParagraphsChanged)
    Q_PROPERTY(bool highlightChanges READ highlightChanges WRITE setHighlightChanges NOTIFY highlightChangesChanged)
    Q_PROPERTY(velquor::text::TextReport textReport READ textReport NOTIFY textReportChanged)
    Q_PROPERTY(QString cleanedText READ cleanedText NOTIFY cleanedTextChanged)
    Q_PROPERTY(
        std::vector<std::int64_t> cleanedChangedOffsets READ cleanedChangedOffsets NOTIFY cleanedChangedOffsetsChanged)
    Q_PROPERTY(bool cleanedOutputVerified READ cleanedOutputVerified NOTIFY cleanedOutputVerifiedChanged)
    Q_PROPERTY(velquor::text::TextChangeSummary textSummary READ textSummary NOTIFY textSummaryChanged)
    Q_PROPERTY(std::vector<velquor::text::TextChangeReviewItem> textChanges READ textChanges NOTIFY textChangesChanged)
    Q_PROPERTY(QString textStatus READ textStatus NOTIFY textStatusChanged)
    Q_PROPERTY(QStringList clipboardFindings READ clipboardFindings NOTIFY clipboardFindingsChanged)
    Q_PROPERTY(std::optional<velquor::text::WritingStyleBaseline> writingBaseline READ writingBaseline NOTIFY
                   writingBaselineChanged)
    Q_PROPERTY(std::vector<velquor::text::WritingStyleDeviation> styleDeviations READ styleDeviations NOTIFY
                   styleDeviationsChanged)
    Q_PROPERTY(QString baselineStatus READ baselineStatus NOTIFY baselineStatusChanged)
    Q_PROPERTY(bool isLoadingWritingBaseline READ isLoadingWritingBaseline NOTIFY isLoadingWritingBaselineChanged)
    Q_PROPERTY(std::optional<velquor::app::TextSelectionRequest> textSelectionRequest READ textSelectionRequest NOTIFY
                   textSelectionRequestChanged)
    Q_PROPERTY(std::optional<std::filesystem::path> selectedFile READ selectedFile NOTIFY selectedFileChanged)
    Q_PROPERTY(std::optional<velquor::files::FileMetadataReport> fileReport READ fileReport NOTIFY fileReportChanged)
    Q_PROPERTY(QString fileStatus READ fileStatus NOTIFY fileStatusChanged)
    Q_PROPERTY(std::optional<std::filesystem::path> outputURL READ outputURL NOTIFY outputURLChanged)
    Q_PROPERTY(QImage originalPreview READ originalPreview NOTIFY originalPreviewChanged)
    Q_PROPERTY(QImage cleanedPreview READ cleanedPreview NOTIFY cleanedPreviewChanged)
    Q_PROPERTY(
        std::vector<velquor::workflow::BatchFileReport> batchReports READ batchReports NOTIFY batchReportsChanged)
    Q_PROPERTY(bool isProcessingFiles READ isProcessingFiles NOTIFY isProcessingFilesChanged)
    Q_PROPERTY(bool isExportingFile READ isExportingFile NOTIFY isExportingFileChanged)
    Q_PROPERTY(velquor::app::AppUpdateState updateState READ updateState NOTIFY updateStateChanged)
    // True while a long text is analysed on a worker thread, for a busy indicator.
    Q_PROPERTY(bool isInspectingText READ isInspectingText NOTIFY isInspectingTextChanged)
    Q_PROPERTY(bool canRevert READ canRevert NOTIFY canRevertChanged)
    Q_PROPERTY(bool canRestoreClipboard READ canRestoreClipboard NOTIFY canRestoreClipboardChanged)
    Q_PROPERTY(bool canExportPrivacyCopy READ canExportPrivacyCopy NOTIFY canExportPrivacyCopyChanged)
    Q_PROPERTY(
        bool canExportBatchPrivacyCopies READ canExportBatchPrivacyCopies NOTIFY canExportBatchPrivacyCopiesChanged)
    // Files done out of the total while a batch is inspected or copied, for a determinate
    // progress bar; a total of 0 while the batch looks for its files and when none runs.
    Q_PROPERTY(velquor::workflow::BatchProgress fileProgress READ fileProgress NOTIFY fileProgressChanged)

public:
    // Needs a QGuiApplication for the clipboard.
    explicit AppModel(Desktop& desktop, AppModelTimings timings = {}, QObject* parent = nullptr);
    ~AppModel() override;

    WorkspaceTab selectedTab() const { return selectedTab_; }
    const QString& inputText() const { return inputText_; }
    bool removeUnsafeUnicode() const { return options_.removeUnsafeUnicode; }
    bool normalizeWhitespace() const { return options_.normalizeWhitespace; }
    bool stripTrackingParameters() const { return options_.stripTrackingParameters; }
    bool normalizePunctuation() const { return options_.normalizePunctuation; }
    bool asciiOnly() const { return options_.asciiOnly; }
    bool flattenMarkdown() const { return options_.flattenMarkdown; }
    bool unwrapParagraphs() const { return options_.unwrapParagraphs; }
    bool highlightChanges() const { return highlightChanges_; }
    const text::TextReport& textReport() const { return textReport_; }
    const QString& cleanedText() const { return cleanedText_; }
    const std::vector<std::int64_t>& cleanedChangedOffsets() const { return cleanedChangedOffsets_; }
    bool cleanedOutputVerified() const { return cleanedOutputVerified_; }
    const text::TextChangeSummary& textSummary() const { return textSummary_; }
    const std::vector<text::TextChangeReviewItem>& textChanges() const { return textChanges_; }
    const QString& textStatus() const { return textStatus_; }
    const QStringList& clipboardFindings() const { return clipboardFindings_; }
    const std::optional<text::WritingStyleBaseline>& writingBaseline() const { return writingBaseline_; }
    const std::vector<text::WritingStyleDeviation>& styleDeviations() const { return styleDeviations_; }
    const QString& baselineStatus() const { return baselineStatus_; }
    bool isLoadingWritingBaseline() const { return isLoadingWritingBaseline_; }
    const std::optional<TextSelectionRequest>& textSelectionRequest() const { return textSelectionRequest_; }
    const std::optional<std::filesystem::path>& selectedFile() const { return selectedFile_; }
    const std::optional<files::FileMetadataReport>& fileReport() const { return fileReport_; }
    const QString& fileStatus() const { return fileStatus_; }
    const std::optional<std::filesystem::path>& outputURL() const { return outputURL_; }
    const QImage& originalPreview() const { return originalPreview_; }
    const QImage& cleanedPreview() const { return cleanedPreview_; }
    const std::vector<workflow::BatchFileReport>& batchReports() const { return batchReports_; }
    bool isProcessingFiles() const { return isProcessingFiles_; }
    bool isExportingFile() const { return isExportingFile_; }
    const AppUpdateState& updateState() const { return updateState_; }
    bool isInspectingText() const { return isInspectingText_; }
    bool canRevert() const { return previousInputText_.has_value(); }
    bool canRestoreClipboard() const;
    // Not while files are processed; then for an inspected file that some family copies and that
    // carries no content credentials.
    bool canExportPrivacyCopy() const { return canExportPrivacyCopy_; }
    // Not while files are processed; then when a batch row awaits its privacy copy.
    bool canExportBatchPrivacyCopies() const { return canExportBatchPrivacyCopies_; }
    const workflow::BatchProgress& fileProgress() const { return fileProgress_; }

    void setSelectedTab(WorkspaceTab tab);
    // The editor's contents; the editor calls scheduleTextInspection() after each edit.
    void setInputText(const QString& text);
    // Each cleaning option re-inspects the text at once when it changes.
    void setRemoveUnsafeUnicode(bool enabled);
    void setNormalizeWhitespace(bool enabled);
    void setStripTrackingParameters(bool enabled);
    void setNormalizePunctuation(bool enabled);
    void setAsciiOnly(bool enabled);
    void setFlattenMarkdown(bool enabled);
    void setUnwrapParagraphs(bool enabled);
    void setHighlightChanges(bool enabled);

    // The cleaning option that belongs to a change category.
    bool isChangeEnabled(text::TextChangeCategory category) const;
    void setChangeEnabled(text::TextChangeCategory category, bool enabled);

    // Select the next location of a source in the editor, cycling back to the first; the status
    // names the occurrence. Nothing happens for a source without locations.
    void selectIssue(const text::TextIssue& issue);
    void selectChange(const text::TextChangeReviewItem& item);
    void selectTextLocation(const QString& sourceID, const QString& label,
                            std::span<const text::TextLocation> locations);

    void loadTextFile(const std::filesystem::path& file);
    void loadDroppedText(const QString& text);

    // Text the engine writes for the style views, on demand.
    // The file workspace. A selection of one path that is not a folder is inspected on its own;
    // several paths or a folder as a batch. Both refuse, with a status, while a copy is written.
    void inspectSelection(const std::vector<std::filesystem::path>& selection);
    void inspectFile(const std::filesystem::path& file);
    void inspectBatch(const std::vector<std::filesystem::path>& selection);
    // The items of a drop (URLs, their bytes or strings), decoded to local paths and inspected;
    // when none decodes, the status says so.
    void inspectDroppedItems(const QVariantList& items);

    text::AuthorshipPromptResult authorshipRewritePrompt() const;
    text::RewriteComparisonReport compareRewrite(const QString& rewritten) const;
    void copyAuthorshipPrompt(const QString& prompt, std::int64_t redactedFindings);
    void copyRewrite(const QString& rewrite);
    void acceptRewrite(const QString& rewrite);

public Q_SLOTS:
    // Analyses inputText under the current options; a long text on a worker thread.
    void inspectText();
    // One inspection after the quiet period; each call restarts the wait.
    void scheduleTextInspection();
    void chooseTextFile();
    void replaceTextWithCleaned();
    void revert();
    void copyCleanedText();
    void saveCleanedText();

    void inspectClipboard();
    void sanitizeClipboardInPlace();
    void restorePreviousClipboard();

    void chooseWritingBaselineFolder();
    void clearWritingBaseline();

    // Files or a folder to inspect: the desktop's file dialog picks files or a folder, not both.
    void chooseFile();
    void chooseFileFolder();
    // Writes and verifies the privacy copy of the selected file on a worker thread.
    void exportPrivacyCopy();
    // Writes and verifies the privacy copy of every batch row that awaits one, on worker threads.
    void exportBatchPrivacyCopies();
    // Starts no further copy of the batch; those under way finish, and the rows show what was done.
    void cancelBatchPrivacyCopies();
    void revealOutput();

Q_SIGNALS:
    void selectedTabChanged();
    void inputTextChanged();
    void removeUnsafeUnicodeChanged();
    void normalizeWhitespaceChanged();
    void stripTrackingParametersChanged();
    void normalizePunctuationChanged();
    void asciiOnlyChanged();
    void flattenMarkdownChanged();
    void unwrapParagraphsChanged();
    void highlightChangesChanged();
    void textReportChanged();
    void cleanedTextChanged();
    void cleanedChangedOffsetsChanged();
    void cleanedOutputVerifiedChanged();
    void textSummaryChanged();
    void textChangesChanged();
    void textStatusChanged();
    void clipboardFindingsChanged();
    void writingBaselineChanged();
    void styleDeviationsChanged();
    void baselineStatusChanged();
    void isLoadingWritingBaselineChanged();
    void textSelectionRequestChanged();
    void selectedFileChanged();
    void fileReportChanged();
    void fileStatusChanged();
    void outputURLChanged();
    void originalPreviewChanged();
    void cleanedPreviewChanged();
    void batchReportsChanged();
    void isProcessingFilesChanged();
    void isExportingFileChanged();
    void updateStateChanged();
    void isInspectingTextChanged();
    void canRevertChanged();
    void canRestoreClipboardChanged();
    void canExportPrivacyCopyChanged();
    void canExportBatchPrivacyCopiesChanged();
    void fileProgressChanged();
    // An analysis of inputText was applied (or the analysis was cleared because the text was
    // refused), whether or not any property changed.
    void textAnalysisApplied();

private:
    using Signal = void (AppModel::*)();

    // Stores the value and emits the signal when it differs from the stored one.
    template <typename T, typename U>
    void assign(T& field, U&& value, Signal changed) {
        if (field == value) return;
        field = std::forward<U>(value);
        Q_EMIT(this->*changed)();
    }

    void setOption(bool text::CleaningOptions::*option, bool enabled, Signal changed);

    // Text workflow (AppModelText.cpp).
    void setTextStatus(std::u16string_view status);
    void setTextSelectionRequest(std::optional<TextSelectionRequest> request);
    void setPreviousInputText(std::optional<QString> text);
    void refreshIsInspectingText();
    // A newer edit, option change or inspection makes every analysis still on its way stale.
    void supersedeTextAnalysis();
    void applyTextAnalysis(workflow::TextAnalysis analysis, QString cleanedText);
    void clearTextAnalysis(const QString& status);
    void startBackgroundInspection();

    // Clipboard (AppModelClipboard.cpp).
    void clipboardDataChanged();
    bool writeClipboard(std::unique_ptr<QMimeData> data);
    bool writeClipboardText(const QString& text);
    bool restoreClipboard(const ClipboardSnapshot& snapshot);
    void clearClipboardRestore();
    // Records the clipboard's flavours and returns its text, or shows why there is none to use.
    std::optional<QString> usableClipboardText(const QMimeData* data);
    void scheduleClipboardRestoreExpiry();
    void clipboardRestoreExpired();
    void refreshCanRestoreClipboard();

    // Writing samples (AppModelSamples.cpp).
    void loadWritingBaseline(const std::filesystem::path& folder);
    void applyWritingBaseline(text::WritingStyleBaseline baseline);
    void setStyleDeviations(std::vector<text::WritingStyleDeviation> deviations);
    void updateStyleDeviations();

    // Files (AppModelFiles.cpp).
    void setFileStatus(std::u16string_view status);
    void setSelectedFile(std::optional<std::filesystem::path> file);
    void setFileReport(std::optional<files::FileMetadataReport> report);
    void setOutputURL(std::optional<std::filesystem::path> copy);
    void setOriginalPreview(QImage preview);
    void setCleanedPreview(QImage preview);
    void setBatchReports(std::vector<workflow::BatchFileReport> rows);
    void setProcessingFiles(bool processing, bool exporting);
    void setFileProgress(workflow::BatchProgress progress);
    void refreshFileExportability();
    // Forgets the file, the batch and the copy of the last inspection.
    void clearFileResults();
    // fileProgress follows the watched batch task for as long as it is not stopped.
    void followBatchProgress(const QFutureWatcherBase& watcher, const std::stop_source& task);

    Desktop& desktop_;
    text::TextSanitizer textSanitizer_;

    WorkspaceTab selectedTab_ = WorkspaceTab::text;
    QString inputText_;
    text::CleaningOptions options_;
    bool highlightChanges_ = true;
    text::TextReport textReport_;
    QString cleanedText_;
    std::vector<std::int64_t> cleanedChangedOffsets_;
    bool cleanedOutputVerified_ = true;
    text::TextChangeSummary textSummary_;
    std::vector<text::TextChangeReviewItem> textChanges_;
    QString textStatus_;
    QStringList clipboardFindings_;
    std::optional<text::WritingStyleBaseline> writingBaseline_;
    std::vector<text::WritingStyleDeviation> styleDeviations_;
    QString baselineStatus_;
    bool isLoadingWritingBaseline_ = false;
    std::optional<TextSelectionRequest> textSelectionRequest_;
    std::optional<std::filesystem::path> selectedFile_;
    std::optional<files::FileMetadataReport> fileReport_;
    QString fileStatus_;
    std::optional<std::filesystem::path> outputURL_;
    QImage originalPreview_;
    QImage cleanedPreview_;
    std::vector<workflow::BatchFileReport> batchReports_;
    bool isProcessingFiles_ = false;
    bool isExportingFile_ = false;
    AppUpdateState updateState_;
    bool isInspectingText_ = false;
    bool canExportPrivacyCopy_ = false;
    bool canExportBatchPrivacyCopies_ = false;
    workflow::BatchProgress fileProgress_;

    std::optional<QString> previousInputText_;
    std::optional<ClipboardSnapshot> previousClipboardSnapshot_;
    std::optional<std::int64_t> sanitizedClipboardChangeCount_;
    QTimer textInspectionTimer_;
    QTimer clipboardRestoreExpiryTimer_;
    std::optional<std::int64_t> expiryChangeCount_;  // sanitizedClipboardChangeCount_ when the expiry was set

    // Advanced by every change of the clipboard, including the model's own writes.
    std::int64_t clipboardChangeCount_ = 0;
    bool writingClipboard_ = false;
    bool couldRestoreClipboard_ = false;

    // Background work is applied only if nothing newer started since: each counter names the
    // latest request of its kind.
    std::uint64_t textAnalysisGeneration_ = 0;
    std::uint64_t deviationGeneration_ = 0;
    std::uint64_t baselineGeneration_ = 0;
    bool inspectionPending_ = false;  // a worker analyses the current text
    bool deviationsPending_ = false;  // a worker compares the current text with the baseline

    // The file tasks a newer one of their kind, or any inspection, makes stale. A single copy is
    // never stopped; inspections wait for it instead.
    LatestTask fileInspection_;
    LatestTask batchInspection_;
    LatestTask batchCopy_;
};

}  // namespace velquor::app
