#include "app/shell/AppIconLoader.h"

#include <QPixmap>

#include <array>

// The icons are compiled into the shell library; a static library needs its resources named
// once, or the linker drops them.
static void initialiseIconResources() { Q_INIT_RESOURCE(velquor); }

namespace velquor::shell {

namespace {

constexpr std::array iconSizes{48, 64, 128, 256};

std::optional<QIcon> resourceIcon() {
    initialiseIconResources();
    QIcon icon;
    for (const int size : iconSizes) {
        const QPixmap pixmap(QStringLiteral(":/icons/%1/org.velquor.Velquor.png").arg(size));
        if (!pixmap.isNull()) icon.addPixmap(pixmap);
    }
    if (icon.isNull()) return std::nullopt;
    return icon;
}

}  // namespace

std::optional<QIcon> AppIconLoader::image() {
    if (auto icon = resourceIcon()) return icon;
    QIcon themed = QIcon::fromTheme(QStringLiteral("org.velquor.Velquor"));
    if (themed.isNull()) return std::nullopt;
    return themed;
}

}  // namespace velquor::shell
