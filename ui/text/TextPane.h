#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace velquor::ui {

class OutlinedBox;
class SymbolLabel;

// One of the two panes: a header row (the title, then "Drop here" while a drag is over the
// panes, "Verified" or "Check output", and "N highlighted") above its content.
class TextPane : public QWidget {
    Q_OBJECT

public:
    TextPane(const QString& title, QWidget* content, QWidget* parent = nullptr);

    void setDropTargeted(bool targeted);
    void setVerification(std::optional<bool> verified);
    void setHighlightedChanges(std::optional<std::int64_t> count);
    // While a long text is inspected on a worker thread.
    void setBusy(bool busy);

    QString title() const { return title_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColors();

    QString title_;
    SymbolLabel* dropHint_;
    SymbolLabel* verification_;
    SymbolLabel* highlighted_;
    SymbolLabel* busy_;
    OutlinedBox* frame_;
    std::optional<bool> verified_;
};

}  // namespace velquor::ui
