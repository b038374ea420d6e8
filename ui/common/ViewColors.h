#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace velquor::ui {

// The colours the views use, derived from a palette so that they read on light and dark
// windows alike: the status colours are brighter on a dark window.
struct ViewColors {
    QColor green;
    QColor orange;
    QColor red;
    QColor accent;
    QColor secondaryText;
    QColor tertiaryText;
    QColor separator;
    QColor textBackground;
    QColor highlight;         // orange at 32%, behind changed characters
    QColor boxBackground;     // orange at 8%, behind clipboard findings and hidden payloads
    QColor boxBorder;         // orange at 35%
    QColor removedHighlight;  // red at 28%, behind words a rewrite dropped
    QColor addedHighlight;    // green at 28%, behind words a rewrite brought in
    QColor dropFill;          // the accent at 8%, over a drop target while a drag hovers

    static ViewColors of(const QPalette& palette);
};

bool isDarkPalette(const QPalette& palette);

// Sets a label's (or any widget's) text colour.
void setForeground(QWidget& widget, const QColor& color);

}  // namespace velquor::ui
