#pragma once

#include <QStringList>
#include <QWidget>

#include <string_view>
#include <vector>

class QButtonGroup;
class QPushButton;

namespace velquor::ui {

// A row of segments of which exactly one is selected; its accessible name is the picker's
// label, which is not shown, and each segment's is its own label.
class SegmentedPicker : public QWidget {
    Q_OBJECT

public:
    struct Segment {
        QString label;
        std::string_view symbol;  // empty for none
    };

    SegmentedPicker(const QString& accessibleLabel, const std::vector<Segment>& segments, int width,
                    QWidget* parent = nullptr);

    int selected() const;
    void setSelected(int index);
    QPushButton* segment(int index) const;

Q_SIGNALS:
    void selectedChanged(int index);

private:
    QButtonGroup* group_;
};

}  // namespace velquor::ui
