#include "ui/text/EditorFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace velquor::ui {

namespace {

QPushButton* barButton(const QString& label, QWidget* parent) {
    auto* button = new QPushButton(label, parent);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

EditorFindBar::EditorFindBar(QPlainTextEdit& view, QWidget* parent)
    : QWidget(parent), view_(view), field_(new QLineEdit(this)), result_(new QLabel(this)) {
    field_->setPlaceholderText(tr("Find"));
    field_->setAccessibleName(tr("Find"));
    field_->setClearButtonEnabled(true);
    result_->setAccessibleName(tr("Find result"));
    auto* previous = barButton(tr("Previous"), this);
    auto* next = barButton(tr("Next"), this);
    auto* done = barButton(tr("Done"), this);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(field_, 1);
    row->addWidget(result_);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(done);

    connect(field_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(done, &QPushButton::clicked, this, &EditorFindBar::close);
    connect(field_, &QLineEdit::textChanged, result_, &QLabel::clear);
    hide();
}

void EditorFindBar::open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void EditorFindBar::close() {
    hide();
    view_.setFocus(Qt::OtherFocusReason);
}

bool EditorFindBar::findNext(bool backwards) {
    const QString needle = field_->text();
    if (needle.isEmpty()) return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (view_.find(needle, flags)) {
        result_->clear();
        return true;
    }
    // Wrap around once from the other end of the text.
    const QTextCursor kept = view_.textCursor();
    QTextCursor edge(view_.document());
    edge.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    view_.setTextCursor(edge);
    if (view_.find(needle, flags)) {
        result_->clear();
        return true;
    }
    view_.setTextCursor(kept);
    result_->setText(tr("Not found"));
    return false;
}

void EditorFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace velquor::ui
