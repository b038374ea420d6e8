#include "ui/files/BatchReportTable.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/files/ReportTable.h"

#include <QHeaderView>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velquor::ui {

BatchReportTable::BatchReportTable(Open onOpen, QWidget* parent)
    : QWidget(parent),
      onOpen_(std::move(onOpen)),
      table_(reportTable({tr("File"), tr("Type"), tr("Findings"), tr("Status")}, tr("Batch"), this)) {
    table_->horizontalHeader()->resizeSection(0, 240);
    table_->horizontalHeader()->resizeSection(1, 160);
    table_->horizontalHeader()->resizeSection(2, 80);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(styledLabel(tr("Batch"), TextStyle::headline, this));
    column->addWidget(table_, 1);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* open = new QShortcut(QKeySequence(key), table_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] { openRow(table_->currentRow()); });
    }
}

void BatchReportTable::setReports(const std::vector<workflow::BatchFileReport>& reports) {
    files_.clear();
    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(reports.size()));
    const QFont digits = digitsFont(TextStyle::body);
    for (int i = 0; i < table_->rowCount(); ++i) {
        const auto& report = reports[static_cast<std::size_t>(i)];
        files_.push_back(report.url);
        setCell(*table_, i, 0, QString::fromStdString(report.url.filename().string()));
        setCell(*table_, i, 1, app::qtString(report.type));
        setCell(*table_, i, 2, QString::number(report.findings));
        table_->item(i, 2)->setFont(digits);
        table_->item(i, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setCell(*table_, i, 3, app::qtString(report.status));
    }
    table_->setUpdatesEnabled(true);
}

void BatchReportTable::openRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= files_.size()) return;
    // Opening a file replaces the batch, and with it this table's rows: the path is copied first.
    const std::filesystem::path file = files_[static_cast<std::size_t>(row)];
    onOpen_(file);
}

}  // namespace velquor::ui
