#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace velquor::app {
class AppModel;
}

namespace velquor::shell {

// What other programs may ask of the running Velquor over the session bus. Cleaning a text or
// a selection never touches the model; the clipboard actions and Open are those of the window.
class VelquorService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.velquor.Velquor1")

public:
    VelquorService(app::AppModel& model, std::function<void()> showWindow, QObject* parent = nullptr);

    // Registers the object and then the well-known name; false when either is taken, which means
    // another Velquor answers there.
    bool registerOn(QDBusConnection connection);

public Q_SLOTS:
    Q_SCRIPTABLE QString CleanSelectedText(const QString& text);
    // Cleans the primary selection onto the clipboard, for pasting over the selection.
    Q_SCRIPTABLE void CleanSelection();
    Q_SCRIPTABLE void InspectClipboard();
    Q_SCRIPTABLE void CleanClipboard();
    Q_SCRIPTABLE void RestorePreviousClipboard();
    Q_SCRIPTABLE void Show();
    Q_SCRIPTABLE void Open(const QStringList& paths);

private:
    void failWith(const char* errorName, const char16_t* message);

    app::AppModel& model_;
    std::function<void()> showWindow_;
};

}  // namespace velquor::shell
