#include "ui/files/FileReportView.h"

#include "app/QtText.h"
#include "core/text/base/ByteCountFormat.h"
#include "ui/common/Labels.h"
#include "ui/common/StatView.h"
#include "ui/common/ViewColors.h"
#include "ui/files/ReportTable.h"
#include "ui/report/ReportRows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

SymbolLabel* provenanceNotice(const files::ProvenanceEvidence& evidence, const ViewColors& colors, QWidget* parent) {
    const QString detail = app::qtString(evidence.detail);
    auto* notice = evidence.blocksExport ? new SymbolLabel("signature",
                                                           QObject::tr("Confirmed Content Credentials: ") + detail +
                                                               QObject::tr(". Export is disabled."),
                                                           TextStyle::body, parent)
                                         : new SymbolLabel("questionmark.circle",
                                                           QObject::tr("Possible provenance reference: ") + detail +
                                                               QObject::tr(". This does not block export."),
                                                           TextStyle::body, parent);
    notice->setColor(evidence.blocksExport ? colors.orange : colors.secondaryText);
    notice->setWordWrap(true);
    return notice;
}

}  // namespace

bool showsInspectOnlyNotice(const files::FileMetadataReport& report, bool canExport) {
    return !report.pixelSize && !canExport && report.typeDescription != u"SVG document" &&
           report.typeDescription != u"PDF document";
}

FileReportView::FileReportView(QWidget* parent)
    : QWidget(parent),
      notices_(new QVBoxLayout),
      table_(reportTable({tr("Section"), tr("Name"), tr("Value")}, tr("Metadata"), this)) {
    const std::array<std::pair<QString, int>, 3> statistics{
        {{tr("Type"), 220}, {tr("Size"), 110}, {tr("Pixels"), 110}}};
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    for (std::size_t i = 0; i < statistics.size(); ++i) {
        statistics_[i] = new StatView(statistics[i].first, statistics[i].second, this);
        row->addWidget(statistics_[i]);
    }
    row->addStretch(1);
    table_->horizontalHeader()->resizeSection(0, 140);
    table_->horizontalHeader()->resizeSection(1, 200);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addLayout(row);
    notices_->setSpacing(6);
    column->addLayout(notices_);
    column->addWidget(table_, 1);
}

void FileReportView::setReport(const files::FileMetadataReport& report, bool canExport) {
    statistics_[0]->setValue(app::qtString(report.typeDescription));
    statistics_[1]->setValue(QString::fromStdString(text::formattedByteCount(report.byteCount)));
    statistics_[2]->setValue(report.pixelSize ? app::qtString(*report.pixelSize) : QStringLiteral("-"));

    clearLayout(*notices_);
    const auto colors = ViewColors::of(palette());
    for (const auto& evidence : report.provenanceEvidence)
        notices_->addWidget(provenanceNotice(evidence, colors, this));
    if (showsInspectOnlyNotice(report, canExport)) {
        auto* notice = new SymbolLabel("doc.badge.magnifyingglass",
                                       tr("Inspect-only report. Privacy export is not available for this file type."),
                                       TextStyle::body, this);
        notice->setColor(colors.secondaryText);
        notices_->addWidget(notice);
    }

    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(report.entries.size()));
    for (int i = 0; i < table_->rowCount(); ++i) {
        const auto& entry = report.entries[static_cast<std::size_t>(i)];
        setCell(*table_, i, 0, app::qtString(entry.section));
        setCell(*table_, i, 1, app::qtString(entry.name));
        setCell(*table_, i, 2, app::qtString(entry.value));
    }
    table_->setUpdatesEnabled(true);
}

}  // namespace velquor::ui
