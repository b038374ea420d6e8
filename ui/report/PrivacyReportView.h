#pragma once

#include "core/text/records/PrivacyFinding.h"

#include <QWidget>

#include <functional>

class QLabel;
class QVBoxLayout;

namespace velquor::ui {

// The privacy findings, in the report's order, with the number of high-risk matches on top;
// clicking a row selects the finding's matches in "Original Text".
class PrivacyReportView : public QWidget {
    Q_OBJECT

public:
    using Select = std::function<void(const text::PrivacyFinding&)>;

    explicit PrivacyReportView(Select onSelect, QWidget* parent = nullptr);

    void setReport(const text::TextPrivacyReport& report);

private:
    QWidget* findingRow(const text::PrivacyFinding& finding);

    Select onSelect_;
    QLabel* highCount_;
    QVBoxLayout* rows_;
};

}  // namespace velquor::ui
