#pragma once

#include "core/text/records/StyleReport.h"

#include <QWidget>

#include <functional>

class QToolButton;

namespace velquor::ui {

// One fired style signal: label, count and rate on a line a person can expand to read the
// examples, the rationale, when it misfires and what to try instead.
class StyleSignalRow : public QWidget {
    Q_OBJECT

public:
    using Select = std::function<void(const text::StyleSignal&)>;

    StyleSignalRow(const text::StyleSignal& signal, Select onSelect, QWidget* parent = nullptr);

    bool isExpanded() const;
    void setExpanded(bool expanded);
    QToolButton* disclosure() const { return disclosure_; }

private:
    QWidget* details(const text::StyleSignal& signal);

    QToolButton* disclosure_;
    QWidget* details_;
};

// "%.1f / 100w", independent of the locale.
QString ratePer100Words(double rate);

}  // namespace velquor::ui
