#pragma once

#include "app/AppModel.h"
#include "app/QtText.h"
#include "tests/app/ScriptedDesktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QThreadPool>

#include <functional>

namespace velquor::testing {

using namespace std::chrono_literals;

// A model with short waits and a scripted desktop, over a cleared clipboard.
struct ModelFixture {
    explicit ModelFixture(app::AppModelTimings timings = {.textInspectionDelay = 40ms,
                                                          .clipboardRestoreLifetime = 300ms})
        : model(desktop, timings) {
        QGuiApplication::clipboard()->clear();
    }

    ScriptedDesktop desktop;
    app::AppModel model;
};

// Lets queued results arrive: waits until every worker is done, then delivers its signals.
inline void settle() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

inline bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    return QTest::qWaitFor(condition, milliseconds);
}

inline void putOnClipboard(const std::function<void(QMimeData&)>& fill) {
    auto* data = new QMimeData;
    fill(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}

inline QString qs(std::u16string_view text) { return app::qtString(text); }

}  // namespace velquor::testing
