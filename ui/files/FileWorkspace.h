#pragma once

#include <QWidget>

class QLabel;
class QMimeData;
class QProgressBar;
class QPushButton;
class QScrollArea;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class BatchReportTable;
class FileReportView;
class ImageBeforeAfterView;

// The Files workspace: the action row, the Before/After pair that takes drops, the report of one
// file or the table of a batch, and the status line. It follows the model's file state and
// calls its operations.
class FileWorkspace : public QWidget {
    Q_OBJECT

public:
    explicit FileWorkspace(app::AppModel& model, QWidget* parent = nullptr);

    // The drop on the preview pair: refused while a copy is written and when the drag carries
    // no file URL; otherwise the URLs go to the model in their order, after the drop returns.
    bool handleImageDrop(const QMimeData& data);

    ImageBeforeAfterView* previews() const { return previews_; }

private:
    QPushButton* addButton(const char* symbol, const QString& label);
    bool showsBatch() const;
    void refreshActions();
    void refreshPreviews();
    void refreshReport();
    void refreshBatch();
    void refreshProgress();
    void exportCopies();

    app::AppModel& model_;
    QPushButton* chooseFile_;
    QPushButton* chooseFolder_;
    QPushButton* export_;
    QPushButton* reveal_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    ImageBeforeAfterView* previews_;
    FileReportView* report_;
    BatchReportTable* batch_;
    QLabel* status_;
};

}  // namespace velquor::ui
