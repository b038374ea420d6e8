#pragma once

#include "core/text/records/TextChangeReview.h"

#include <QString>
#include <QWidget>

#include <string_view>
#include <vector>

class QVBoxLayout;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

// One section of the change review ("Hygiene" or "Style cleanup"): per category a checkbox bound
// to its cleaning option with the title, detail and an example, the count, and a button that
// selects the category's changes in "Original Text".
class ChangeReviewSection : public QWidget {
    Q_OBJECT

public:
    ChangeReviewSection(app::AppModel& model, const QString& title, std::string_view symbol,
                        const std::vector<text::TextChangeReviewItem>& changes, QWidget* parent = nullptr);

private:
    QWidget* itemRow(const text::TextChangeReviewItem& item);

    app::AppModel& model_;
};

// "Example: <before> becomes <after>", as a screen reader reads the example line.
QString exampleAccessibleName(const text::TextChangePreview& preview);

}  // namespace velquor::ui
