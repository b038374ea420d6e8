#pragma once

#include "app/AppModel.h"
#include "tests/app/ScriptedDesktop.h"
#include "ui/ContentView.h"
#include "ui/common/StatView.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QThreadPool>
#include <QWidget>

#include <gtest/gtest.h>

namespace velquor::testing {

using namespace std::chrono_literals;

// The window's content over a model with a short quiet period and a scripted desktop, shown at
// the window's minimum size.
struct WindowFixture {
    WindowFixture() : model(desktop, {.textInspectionDelay = 30ms, .clipboardRestoreLifetime = 300ms}), view(model) {
        QApplication::clipboard()->clear();
        view.resize(1120, 720);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // The first visible widget of type T whose accessible name is `name`. Rows a report
    // replaced are deleted first, as the event loop would.
    template <typename T = QWidget>
    T* named(const QString& name) const {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (T* widget : view.findChildren<T*>()) {
            if (widget->accessibleName() == name && widget->isVisibleTo(&view)) return widget;
        }
        return nullptr;
    }

    // Whether a widget of that name is on screen, once the widgets a change added are shown.
    bool shows(const QString& name) const {
        QCoreApplication::processEvents();
        return named(name) != nullptr;
    }

    // The value of the visible statistic with that label.
    QString statistic(const QString& label) const {
        for (auto* stat : view.findChildren<ui::StatView*>()) {
            if (stat->label() == label && stat->isVisibleTo(&view)) return stat->value();
        }
        return QStringLiteral("<missing>");
    }

    // Whether a label shows exactly `text` on screen.
    bool showsText(const QString& text) const {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (auto* label : view.findChildren<QLabel*>()) {
            if (label->text() == text && label->isVisibleTo(&view)) return true;
        }
        return false;
    }

    ScriptedDesktop desktop;
    app::AppModel model;
    ui::ContentView view;
};

inline void settle() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}  // namespace velquor::testing
