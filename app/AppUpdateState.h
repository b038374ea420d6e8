#pragma once

#include <QString>
#include <QUrl>

#include <variant>

namespace velquor::app {

// The latest release as the maker's manifest describes it.
struct ReleaseManifest {
    QString version;
    QUrl url;
    QString notes;
    QString sha256;

    friend bool operator==(const ReleaseManifest&, const ReleaseManifest&) = default;
};

// Where the manual update check stands; a new model starts idle.
struct AppUpdateState {
    struct Current {
        QString version;
        friend bool operator==(const Current&, const Current&) = default;
    };
    struct Available {
        ReleaseManifest manifest;
        friend bool operator==(const Available&, const Available&) = default;
    };
    struct Failed {
        QString message;
        friend bool operator==(const Failed&, const Failed&) = default;
    };
    struct Idle {
        friend bool operator==(const Idle&, const Idle&) = default;
    };
    struct Checking {
        friend bool operator==(const Checking&, const Checking&) = default;
    };

    std::variant<Current, Available, Failed, Idle, Checking> value = Idle{};

    friend bool operator==(const AppUpdateState&, const AppUpdateState&) = default;
};

}  // namespace velquor::app
