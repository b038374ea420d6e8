#include "ui/files/FileWorkspace.h"

#include "app/AppModel.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/files/BatchReportTable.h"
#include "ui/files/FileReportView.h"
#include "ui/files/ImageBeforeAfterView.h"
#include "ui/files/ImagePreviewPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

namespace velquor::ui {

FileWorkspace::FileWorkspace(app::AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      progress_(new QProgressBar(this)),
      previews_(new ImageBeforeAfterView([this](const QMimeData& data) { return handleImageDrop(data); }, this)),
      report_(new FileReportView(this)),
      batch_(new BatchReportTable([this](const std::filesystem::path& file) { model_.inspectFile(file); }, this)),
      status_(styledLabel({}, TextStyle::body, this)) {
    setAccessibleName(app::rawValue(app::WorkspaceTab::files));
    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    chooseFile_ = addButton("doc", tr("Choose file"));
    chooseFolder_ = addButton("folder.badge.plus", tr("Choose folder"));
    export_ = addButton("lock.doc", tr("Create privacy copy"));
    reveal_ = addButton("folder", tr("Reveal"));
    cancel_ = addButton("xmark.circle", tr("Cancel"));
    for (QPushButton* button : {chooseFile_, chooseFolder_, export_, reveal_}) actions->addWidget(button);
    progress_->setFixedWidth(140);
    progress_->setMaximumHeight(14);
    progress_->setTextVisible(false);
    actions->addWidget(progress_);
    actions->addWidget(cancel_);
    actions->addStretch(1);
    connect(chooseFile_, &QPushButton::clicked, &model_, &app::AppModel::chooseFile);
    connect(chooseFolder_, &QPushButton::clicked, &model_, &app::AppModel::chooseFileFolder);
    connect(export_, &QPushButton::clicked, this, &FileWorkspace::exportCopies);
    connect(reveal_, &QPushButton::clicked, &model_, &app::AppModel::revealOutput);
    connect(cancel_, &QPushButton::clicked, &model_, &app::AppModel::cancelBatchPrivacyCopies);

    status_->setAccessibleName(tr("File status"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setFont(styledFont(TextStyle::caption, status_->font()));
    setForeground(*status_, ViewColors::of(palette()).secondaryText);

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    column->addLayout(actions);
    column->addWidget(previews_, 1);
    column->addWidget(report_, 1);
    column->addWidget(batch_, 1);
    column->addWidget(status_);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    using M = app::AppModel;
    for (const auto signal : {&M::isProcessingFilesChanged, &M::isExportingFileChanged, &M::canExportPrivacyCopyChanged,
                              &M::canExportBatchPrivacyCopiesChanged, &M::outputURLChanged, &M::batchReportsChanged}) {
        connect(&model_, signal, this, &FileWorkspace::refreshActions);
    }
    for (const auto signal : {&M::isProcessingFilesChanged, &M::isExportingFileChanged, &M::fileProgressChanged}) {
        connect(&model_, signal, this, &FileWorkspace::refreshProgress);
    }
    for (const auto signal :
         {&M::originalPreviewChanged, &M::cleanedPreviewChanged, &M::selectedFileChanged, &M::outputURLChanged}) {
        connect(&model_, signal, this, &FileWorkspace::refreshPreviews);
    }
    connect(&model_, &M::fileReportChanged, this, &FileWorkspace::refreshReport);
    connect(&model_, &M::canExportPrivacyCopyChanged, this, &FileWorkspace::refreshReport);
    connect(&model_, &M::batchReportsChanged, this, &FileWorkspace::refreshBatch);
    connect(&model_, &M::fileStatusChanged, this, [this] { status_->setText(model_.fileStatus()); });
    status_->setText(model_.fileStatus());
    refreshActions();
    refreshProgress();
    refreshPreviews();
    refreshReport();
    refreshBatch();
}

bool FileWorkspace::handleImageDrop(const QMimeData& data) {
    if (model_.isExportingFile()) return false;
    QVariantList items;
    for (const QUrl& url : data.urls()) {
        if (url.scheme() == QStringLiteral("file")) items.push_back(url);
    }
    if (items.isEmpty()) return false;
    // The drag's data is gone once the drop returns; the model sees the URLs right after it.
    QMetaObject::invokeMethod(
        &model_, [model = &model_, items] { model->inspectDroppedItems(items); }, Qt::QueuedConnection);
    return true;
}

QPushButton* FileWorkspace::addButton(const char* symbol, const QString& label) {
    auto* button = new QPushButton(symbolIcon(symbol), label, this);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    return button;
}

bool FileWorkspace::showsBatch() const { return !model_.batchReports().empty(); }

void FileWorkspace::refreshActions() {
    const bool exporting = model_.isExportingFile();
    chooseFile_->setEnabled(!exporting);
    chooseFolder_->setEnabled(!exporting);
    const QString exportLabel = showsBatch() ? tr("Create privacy copies") : tr("Create privacy copy");
    export_->setText(exportLabel);
    export_->setAccessibleName(exportLabel);
    export_->setEnabled(showsBatch() ? model_.canExportBatchPrivacyCopies() : model_.canExportPrivacyCopy());
    reveal_->setEnabled(model_.outputURL().has_value() && !exporting);
    cancel_->setVisible(exporting && showsBatch());
}

void FileWorkspace::exportCopies() {
    if (showsBatch()) {
        model_.exportBatchPrivacyCopies();
    } else {
        model_.exportPrivacyCopy();
    }
}

void FileWorkspace::refreshProgress() {
    progress_->setVisible(model_.isProcessingFiles());
    const QString name = model_.isExportingFile() ? tr("Creating privacy copy") : tr("Inspecting files");
    progress_->setAccessibleName(name);
    progress_->setToolTip(name);
    const auto& progress = model_.fileProgress();
    if (progress.total == 0) {
        progress_->setRange(0, 0);
    } else {
        progress_->setRange(0, static_cast<int>(progress.total));
        progress_->setValue(static_cast<int>(progress.finished));
    }
}

void FileWorkspace::refreshPreviews() {
    previews_->before()->setContent(model_.originalPreview(), model_.selectedFile());
    previews_->after()->setContent(model_.cleanedPreview(), model_.outputURL());
}

void FileWorkspace::refreshReport() {
    const auto& report = model_.fileReport();
    report_->setVisible(report.has_value());
    if (report) report_->setReport(*report, model_.canExportPrivacyCopy());
}

void FileWorkspace::refreshBatch() {
    batch_->setVisible(showsBatch());
    batch_->setReports(model_.batchReports());
}

}  // namespace velquor::ui
