// The file workflow: choosing and dropping files and folders, one file or a batch inspected on
// worker threads with its previews, a verified privacy copy of one file or of a whole batch,
// and revealing the copy.
#include "app/AppModel.h"

#include "app/AppStatusTexts.h"
#include "app/Desktop.h"
#include "app/DroppedFileURL.h"
#include "app/FilePreview.h"
#include "app/QtText.h"

#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchPrivacyCopies.h"
#include "core/workflow/BatchRunner.h"
#include "core/workflow/FileInspectionOutcome.h"
#include "core/workflow/FileReadiness.h"
#include "core/workflow/FileSelection.h"
#include "core/workflow/PrivacyCopyDestination.h"
#include "core/workflow/PrivacyCopyOutcome.h"
#include "core/workflow/StatusTexts.h"

#include <QFile>
#include <QFutureWatcher>
#include <QMimeDatabase>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>
#include <utility>

namespace velquor::app {

namespace {

namespace fs = std::filesystem;

// What the file dialog offers, in this order: every image, audio and video type the desktop's
// type database names, PDF, then the documents known by their extension.
constexpr std::array<std::string_view, 3> mediaTypeFamilies{"image/", "audio/", "video/"};
constexpr std::string_view pdfType = "application/pdf";
constexpr std::array<std::string_view, 7> documentExtensions{"svg", "docx", "pptx", "xlsx", "pages", "key", "numbers"};

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

FileFilter inspectableFileFilter() {
    const QMimeDatabase types;
    const auto allTypes = types.allMimeTypes();
    QStringList patterns;
    for (const auto family : mediaTypeFamilies) {
        for (const auto& type : allTypes) {
            if (type.name().startsWith(latin1(family))) patterns << type.globPatterns();
        }
    }
    patterns << types.mimeTypeForName(latin1(pdfType)).globPatterns();
    for (const auto extension : documentExtensions) patterns << QStringLiteral("*.") + latin1(extension);
    patterns.removeDuplicates();
    return {qtString(inspectableFilesFilterName), patterns};
}

fs::path localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString pathText(const fs::path& path) { return QFile::decodeName(QByteArray(path.c_str())); }

QString messageOf(const std::exception& error) { return QString::fromUtf8(error.what()); }

// A single file's inspection with the preview of an image, both made off the main thread.
struct FileInspection {
    workflow::FileInspectionOutcome outcome;
    QImage preview;
};

FileInspection inspectFileWithPreview(const fs::path& file, std::stop_token stop) {
    auto outcome = workflow::inspectionOutcome(file);
    QImage preview;
    const bool inspected = std::holds_alternative<files::FileMetadataReport>(outcome);
    if (inspected && !stop.stop_requested() && files::ImagePrivacySanitizer::isSupported(file)) {
        preview = decodePreview(file);
    }
    return {std::move(outcome), std::move(preview)};
}

// The rows of a batch, or why there are none: a failure of the batch itself, such as a thread
// that could not be started, is a status too.
struct BatchInspection {
    std::vector<workflow::BatchFileReport> rows;
    QString failure;
};

template <typename Result>
workflow::BatchRunOptions reportingTo(QPromise<Result>& promise, std::stop_token stop) {
    return {.workers = 0, .stop = std::move(stop), .progress = [&promise](std::size_t finished, std::size_t) {
                promise.setProgressValue(static_cast<int>(finished));
            }};
}

void inspectBatchRows(QPromise<BatchInspection>& promise, const std::vector<fs::path>& selection,
                      const std::stop_token& stop) {
    BatchInspection inspection;
    try {
        const auto files = workflow::inspectableBatchFiles(selection, workflow::batchFileLimit, stop);
        promise.setProgressRange(0, static_cast<int>(files.size()));
        inspection.rows = workflow::inspectBatch(files, reportingTo(promise, stop));
    } catch (const std::exception& error) {
        inspection.failure = messageOf(error);
    }
    promise.addResult(std::move(inspection));
}

// A single copy and, for an image, the copy's preview.
struct FileExport {
    workflow::PrivacyCopyOutcome outcome;
    QImage preview;
};

FileExport exportFileWithPreview(const fs::path& source, const fs::path& destination) {
    auto outcome = workflow::exportPrivacyCopyUnderFreeName(source, destination,
                                                            [&] { return workflow::uniquePrivacyDestination(source); });
    QImage preview;
    if (outcome.copy && files::ImagePrivacySanitizer::isSupported(source)) preview = decodePreview(*outcome.copy);
    return {std::move(outcome), std::move(preview)};
}

struct BatchCopies {
    workflow::BatchCopyResult result;
    QString failure;
};

void exportBatchCopies(QPromise<BatchCopies>& promise, std::vector<workflow::BatchFileReport> rows,
                       const std::stop_token& stop) {
    BatchCopies copies;
    const auto awaited = workflow::privacyCopiesAwaited(rows);
    promise.setProgressRange(0, static_cast<int>(awaited));
    try {
        copies.result = workflow::exportBatchPrivacyCopies(rows, reportingTo(promise, stop));
    } catch (const std::exception& error) {
        // Whatever was written is on disk, but which rows it belongs to is lost with the run.
        copies.result.rows = std::move(rows);
        copies.failure = messageOf(error);
    }
    promise.addResult(std::move(copies));
}

}  // namespace

void AppModel::setFileStatus(std::u16string_view status) {
    assign(fileStatus_, qtString(status), &AppModel::fileStatusChanged);
}

void AppModel::setSelectedFile(std::optional<fs::path> file) {
    assign(selectedFile_, std::move(file), &AppModel::selectedFileChanged);
}

void AppModel::setFileReport(std::optional<files::FileMetadataReport> report) {
    assign(fileReport_, std::move(report), &AppModel::fileReportChanged);
}

void AppModel::setOutputURL(std::optional<fs::path> copy) {
    assign(outputURL_, std::move(copy), &AppModel::outputURLChanged);
}

void AppModel::setOriginalPreview(QImage preview) {
    assign(originalPreview_, std::move(preview), &AppModel::originalPreviewChanged);
}

void AppModel::setCleanedPreview(QImage preview) {
    assign(cleanedPreview_, std::move(preview), &AppModel::cleanedPreviewChanged);
}

void AppModel::setBatchReports(std::vector<workflow::BatchFileReport> rows) {
    assign(batchReports_, std::move(rows), &AppModel::batchReportsChanged);
}

void AppModel::setProcessingFiles(bool processing, bool exporting) {
    assign(isProcessingFiles_, processing, &AppModel::isProcessingFilesChanged);
    assign(isExportingFile_, exporting, &AppModel::isExportingFileChanged);
}

void AppModel::setFileProgress(workflow::BatchProgress progress) {
    assign(fileProgress_, progress, &AppModel::fileProgressChanged);
}

void AppModel::refreshFileExportability() {
    const bool single = !isProcessingFiles_ && selectedFile_ && fileReport_ &&
                        workflow::canOfferPrivacyCopy(*selectedFile_, *fileReport_);
    assign(canExportPrivacyCopy_, single, &AppModel::canExportPrivacyCopyChanged);
    const bool batch = !isProcessingFiles_ && workflow::privacyCopiesAwaited(batchReports_) > 0;
    assign(canExportBatchPrivacyCopies_, batch, &AppModel::canExportBatchPrivacyCopiesChanged);
}

void AppModel::clearFileResults() {
    setBatchReports({});
    setFileReport(std::nullopt);
    setOutputURL(std::nullopt);
    setOriginalPreview({});
    setCleanedPreview({});
}

void AppModel::followBatchProgress(const QFutureWatcherBase& watcher, const std::stop_source& task) {
    connect(&watcher, &QFutureWatcherBase::progressRangeChanged, this, [this, task](int, int maximum) {
        if (!task.stop_requested()) setFileProgress({fileProgress_.finished, static_cast<std::size_t>(maximum)});
    });
    connect(&watcher, &QFutureWatcherBase::progressValueChanged, this, [this, task](int finished) {
        if (!task.stop_requested()) setFileProgress({static_cast<std::size_t>(finished), fileProgress_.total});
    });
}

void AppModel::chooseFile() {
    QStringList chosen = desktop_.chooseFiles(inspectableFileFilter());
    std::vector<fs::path> selection;
    for (const auto& path : chosen) selection.push_back(localPath(path));
    inspectSelection(selection);
}

void AppModel::chooseFileFolder() {
    const auto folder = desktop_.chooseFolder({qtString(fileFolderPrompt), qtString(fileFolderMessage)});
    if (folder) inspectSelection({localPath(*folder)});
}

void AppModel::inspectDroppedItems(const QVariantList& items) {
    std::vector<fs::path> selection;
    for (const auto& item : items) {
        if (auto path = decodeDroppedFileURL(item)) selection.push_back(std::move(*path));
    }
    if (selection.empty()) {
        setFileStatus(workflow::unreadableDropStatus);
        return;
    }
    inspectSelection(selection);
}

void AppModel::inspectSelection(const std::vector<fs::path>& selection) {
    switch (workflow::routeSelection(selection)) {
        case workflow::SelectionRoute::none:
            return;
        case workflow::SelectionRoute::singleFile:
            inspectFile(selection.front());
            return;
        case workflow::SelectionRoute::batch:
            inspectBatch(selection);
            return;
    }
}

void AppModel::inspectFile(const fs::path& file) {
    if (isExportingFile_) {
        setFileStatus(workflow::waitBeforeAnotherFileStatus);
        return;
    }
    batchInspection_.cancel();
    const auto task = fileInspection_.start();
    setSelectedFile(file);
    clearFileResults();
    setProcessingFiles(true, false);
    setFileProgress({});
    setFileStatus(workflow::fileInspectionStartedStatus(file));
    refreshFileExportability();

    auto* watcher = new QFutureWatcher<FileInspection>(this);
    connect(watcher, &QFutureWatcher<FileInspection>::finished, this, [this, watcher, task, file] {
        watcher->deleteLater();
        if (task.stop_requested() || selectedFile_ != file) return;
        auto inspection = watcher->result();
        if (auto* report = std::get_if<files::FileMetadataReport>(&inspection.outcome)) {
            setFileReport(std::move(*report));
            setOriginalPreview(std::move(inspection.preview));
            setFileStatus(workflow::readyStatus(file));
        } else {
            setSelectedFile(std::nullopt);
            setFileReport(std::nullopt);
            setOriginalPreview({});
            setFileStatus(std::get<std::u16string>(inspection.outcome));
        }
        setProcessingFiles(false, false);
        refreshFileExportability();
    });
    watcher->setFuture(QtConcurrent::run(inspectFileWithPreview, file, task.get_token()));
}

void AppModel::inspectBatch(const std::vector<fs::path>& selection) {
    if (isExportingFile_) {
        setFileStatus(workflow::waitBeforeAnotherFolderStatus);
        return;
    }
    fileInspection_.cancel();
    const auto task = batchInspection_.start();
    clearFileResults();
    setSelectedFile(std::nullopt);
    setProcessingFiles(true, false);
    setFileProgress({});
    setFileStatus(workflow::batchInspectionStartedStatus());
    refreshFileExportability();

    auto* watcher = new QFutureWatcher<BatchInspection>(this);
    followBatchProgress(*watcher, task);
    connect(watcher, &QFutureWatcher<BatchInspection>::finished, this, [this, watcher, task] {
        watcher->deleteLater();
        if (task.stop_requested()) return;
        auto inspection = watcher->result();
        const auto count = inspection.rows.size();
        setBatchReports(std::move(inspection.rows));
        if (inspection.failure.isEmpty()) {
            setFileStatus(workflow::batchStatus(count));
        } else {
            assign(fileStatus_, inspection.failure, &AppModel::fileStatusChanged);
        }
        setProcessingFiles(false, false);
        setFileProgress({});
        refreshFileExportability();
    });
    watcher->setFuture(QtConcurrent::run(inspectBatchRows, selection, task.get_token()));
}

void AppModel::exportPrivacyCopy() {
    // The button is disabled meanwhile: a copy made during an inspection or another copy would
    // finish into a workspace that shows something else.
    if (isProcessingFiles_) return;
    if (!selectedFile_ || !workflow::canExportFile(*selectedFile_)) {
        setFileStatus(workflow::exportUnavailableStatus);
        return;
    }
    const auto source = *selectedFile_;
    const auto destination = workflow::uniquePrivacyDestination(source);
    setOutputURL(std::nullopt);
    setCleanedPreview({});
    setProcessingFiles(true, true);
    setFileStatus(workflow::exportStartedStatus(destination));
    refreshFileExportability();

    auto* watcher = new QFutureWatcher<FileExport>(this);
    connect(watcher, &QFutureWatcher<FileExport>::finished, this, [this, watcher] {
        watcher->deleteLater();
        auto exported = watcher->result();
        setCleanedPreview(exported.outcome.copy ? std::move(exported.preview) : QImage());
        setOutputURL(exported.outcome.copy);
        setFileStatus(exported.outcome.status);
        setProcessingFiles(false, false);
        refreshFileExportability();
    });
    watcher->setFuture(QtConcurrent::run(exportFileWithPreview, source, destination));
}

void AppModel::exportBatchPrivacyCopies() {
    if (isProcessingFiles_) return;
    const auto awaited = workflow::privacyCopiesAwaited(batchReports_);
    if (awaited == 0) return;
    const auto task = batchCopy_.start();
    setProcessingFiles(true, true);
    setFileProgress({0, awaited});
    setFileStatus(workflow::batchCopyStartedStatus(awaited));
    refreshFileExportability();

    auto* watcher = new QFutureWatcher<BatchCopies>(this);
    followBatchProgress(*watcher, task);
    // A cancelled run is applied too: the copies it wrote are on disk and their rows say so.
    connect(watcher, &QFutureWatcher<BatchCopies>::finished, this, [this, watcher] {
        watcher->deleteLater();
        auto copies = watcher->result();
        // The last copy written is the one Reveal shows and the After panel offers for dragging.
        const auto lastCopy =
            std::find_if(copies.result.rows.rbegin(), copies.result.rows.rend(),
                         [](const workflow::BatchFileReport& row) { return row.outputURL.has_value(); });
        if (lastCopy != copies.result.rows.rend()) setOutputURL(lastCopy->outputURL);
        setBatchReports(std::move(copies.result.rows));
        if (copies.failure.isEmpty()) {
            setFileStatus(workflow::batchCopyFinishedStatus(copies.result.created, copies.result.failed));
        } else {
            assign(fileStatus_, copies.failure, &AppModel::fileStatusChanged);
        }
        setProcessingFiles(false, false);
        setFileProgress({});
        refreshFileExportability();
    });
    watcher->setFuture(QtConcurrent::run(exportBatchCopies, batchReports_, task.get_token()));
}

void AppModel::cancelBatchPrivacyCopies() { batchCopy_.cancel(); }

void AppModel::revealOutput() {
    if (outputURL_) desktop_.reveal(pathText(*outputURL_));
}

}  // namespace velquor::app
