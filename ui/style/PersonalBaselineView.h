#pragma once

#include "core/text/records/WritingStyleBaseline.h"

#include <QWidget>

#include <vector>

class QLabel;
class QVBoxLayout;

namespace velquor::ui {

// How the input text compares with the person's own writing: the baseline's size and the
// signals that fire materially more often here than there.
class PersonalBaselineView : public QWidget {
    Q_OBJECT

public:
    explicit PersonalBaselineView(QWidget* parent = nullptr);

    void setBaseline(const text::WritingStyleBaseline& baseline,
                     const std::vector<text::WritingStyleDeviation>& deviations);

private:
    QLabel* size_;
    QVBoxLayout* rows_;
};

}  // namespace velquor::ui
