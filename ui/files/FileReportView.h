#pragma once

#include "core/files/FileMetadataReport.h"

#include <QWidget>

#include <array>

class QTableWidget;
class QVBoxLayout;

namespace velquor::ui {

class StatView;

// The report of one inspected file: type, size and pixels, the provenance notices in order, a
// notice when the file can only be inspected, and the metadata table.
class FileReportView : public QWidget {
    Q_OBJECT

public:
    explicit FileReportView(QWidget* parent = nullptr);

    void setReport(const files::FileMetadataReport& report, bool canExport);
    QTableWidget* table() const { return table_; }

private:
    std::array<StatView*, 3> statistics_{};
    QVBoxLayout* notices_;
    QTableWidget* table_;
};

// Only a file that is no image, SVG or PDF and cannot be exported is inspect-only.
bool showsInspectOnlyNotice(const files::FileMetadataReport& report, bool canExport);

}  // namespace velquor::ui
