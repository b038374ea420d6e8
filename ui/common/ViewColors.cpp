#include "ui/common/ViewColors.h"

#include <QWidget>

namespace velquor::ui {

namespace {

QColor mixed(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                            static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                            static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

}  // namespace

bool isDarkPalette(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

ViewColors ViewColors::of(const QPalette& palette) {
    const bool dark = isDarkPalette(palette);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    ViewColors colors;
    colors.green = dark ? QColor(0x30, 0xd1, 0x58) : QColor(0x1a, 0x7f, 0x37);
    colors.orange = dark ? QColor(0xff, 0x9f, 0x0a) : QColor(0xc4, 0x5c, 0x00);
    colors.red = dark ? QColor(0xff, 0x45, 0x3a) : QColor(0xc8, 0x1e, 0x1e);
    colors.accent = palette.color(QPalette::Highlight);
    colors.secondaryText = mixed(text, window, 0.38);
    colors.tertiaryText = mixed(text, window, 0.55);
    colors.separator = mixed(text, window, 0.8);
    colors.textBackground = palette.color(QPalette::Base);
    colors.highlight = withAlpha(colors.orange, 0.32);
    colors.boxBackground = withAlpha(colors.orange, 0.08);
    colors.boxBorder = withAlpha(colors.orange, 0.35);
    colors.removedHighlight = withAlpha(colors.red, 0.28);
    colors.addedHighlight = withAlpha(colors.green, 0.28);
    colors.dropFill = withAlpha(colors.accent, 0.08);
    return colors;
}

void setForeground(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    // Labels inside a button draw in the button's text role.
    palette.setColor(QPalette::ButtonText, color);
    widget.setPalette(palette);
}

}  // namespace velquor::ui
