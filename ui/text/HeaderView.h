#pragma once

#include <QWidget>

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class SegmentedPicker;

// The top of the window: the application icon, "Velquor" with what it does below, and the
// "Mode" switch between the Text and Files workspaces, bound to the model's selected tab.
class HeaderView : public QWidget {
    Q_OBJECT

public:
    explicit HeaderView(app::AppModel& model, QWidget* parent = nullptr);

    SegmentedPicker* modePicker() const { return picker_; }

private:
    app::AppModel& model_;
    SegmentedPicker* picker_;
};

}  // namespace velquor::ui
