#pragma once

#include "core/workflow/BatchFileReport.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <vector>

class QTableWidget;

namespace velquor::ui {

// The rows of a batch: file, type, findings and status, in the batch's order. Double-clicking a
// row (or Enter on it) asks for that file alone.
class BatchReportTable : public QWidget {
    Q_OBJECT

public:
    using Open = std::function<void(const std::filesystem::path&)>;

    explicit BatchReportTable(Open onOpen, QWidget* parent = nullptr);

    void setReports(const std::vector<workflow::BatchFileReport>& reports);
    QTableWidget* table() const { return table_; }

private:
    void openRow(int row);

    Open onOpen_;
    QTableWidget* table_;
    std::vector<std::filesystem::path> files_;
};

}  // namespace velquor::ui
