#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

#include <string_view>

namespace velquor::ui {

// The text styles of the window: a headline (bold), body text and a caption (smaller).
enum class TextStyle { headline, body, caption };

QFont styledFont(TextStyle style, const QFont& base);
// A font with digits of equal width, for counts that change while they are read.
QFont digitsFont(TextStyle style);

QLabel* styledLabel(const QString& text, TextStyle style, QWidget* parent);

// A symbol before a text, as one label: "[icon] Verified". The accessible name is the text.
class SymbolLabel : public QWidget {
    Q_OBJECT

public:
    SymbolLabel(std::string_view symbol, const QString& text, TextStyle style, QWidget* parent = nullptr);

    void setText(const QString& text);
    void setSymbol(std::string_view symbol);
    QString text() const;
    void setColor(const QColor& color);
    // Lets a long text wrap over the whole width instead of running past the row.
    void setWordWrap(bool wrap);
    QLabel* textLabel() const { return text_; }

private:
    QLabel* icon_;
    QLabel* text_;
    int iconSize_;
};

}  // namespace velquor::ui
