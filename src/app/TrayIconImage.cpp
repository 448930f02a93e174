#include "app/TrayIconImage.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The artwork is compiled into a static library, whose resources are registered by hand.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace xr {

QIcon trayIconImage()
{
    registerAssets();
    QSvgRenderer renderer(QStringLiteral(":/xarvane.svg"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace xr
