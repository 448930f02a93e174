// xarvane-led-preview [folder]: draws the floating time display's dot-matrix face, at both of
// its sizes, with the banner and with a duration, and the whole dot font, into PNG files, so a
// person can look at them. Each picture is written as it is and four times enlarged. A folder
// that does not exist yet is created.
#include "notices/LEDDisplay.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <memory>

namespace {

using xr::TLEDDisplay;

// A display framed like the floating time display, `dotArea` inside its frames.
std::unique_ptr<TLEDDisplay> floatingFace(QSize dotArea)
{
    auto display = std::make_unique<TLEDDisplay>();
    display->setBorderOuter(xr::fsRaised);
    display->setBorderInner(xr::fsLowered);
    display->setBorderWidth(1);
    display->resize(dotArea + QSize(10, 10));
    return display;
}

QImage picture(const TLEDDisplay& display)
{
    QImage image(display.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    display.renderTo(painter);
    return image;
}

// The banner as it scrolls in from the right, caught when it has reached the left edge.
QImage bannerPicture(QSize dotArea)
{
    auto display = floatingFace(dotArea);
    display->setCaption(QStringLiteral("XARVANE PELLORY"));
    display->setScrolling(true);
    for (int step = 0; step < dotArea.width() / display->geometry().pitch; ++step)
        display->scrollStep();
    return picture(*display);
}

QImage durationPicture(QSize dotArea)
{
    auto display = floatingFace(dotArea);
    display->setCaption(QStringLiteral("00 01:05:07"));
    return picture(*display);
}

// Codes 32 to 127, sixteen to a line, one line under the other.
QImage fontPicture()
{
    constexpr int kPerLine = 16;
    auto display = floatingFace(QSize(kPerLine * 18, 25));
    QImage sheet(display->width(), display->height() * 6, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (int line = 0; line < 6; ++line) {
        QByteArray codes;
        for (int code = 32 + line * kPerLine; code < 32 + (line + 1) * kPerLine; ++code)
            codes.append(static_cast<char>(code));
        display->setCaptionBytes(codes);
        painter.drawImage(0, line * display->height(), picture(*display));
    }
    return sheet;
}

bool save(const QImage& image, const QDir& folder, const QString& name, QTextStream& out)
{
    const QString plain = folder.filePath(name + QStringLiteral(".png"));
    const QString enlarged = folder.filePath(name + QStringLiteral("-x4.png"));
    const bool saved = image.save(plain) && image.scaled(image.size() * 4).save(enlarged);
    out << (saved ? plain + QLatin1Char('\n') + enlarged : QStringLiteral("could not write ") + plain)
        << Qt::endl;
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures need no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QDir folder(arguments.size() > 1 ? arguments.at(1) : QDir::currentPath());
    QTextStream out(stdout);
    if (!folder.mkpath(QStringLiteral("."))) {
        out << "could not create " << folder.path() << Qt::endl;
        return 1;
    }

    bool saved = true;
    for (const auto& [name, dotArea] : {std::pair{QStringLiteral("small"), QSize(132, 17)},
                                        std::pair{QStringLiteral("big"), QSize(198, 25)}}) {
        saved &= save(bannerPicture(dotArea), folder, QStringLiteral("led-banner-") + name, out);
        saved &= save(durationPicture(dotArea), folder, QStringLiteral("led-time-") + name, out);
    }
    saved &= save(fontPicture(), folder, QStringLiteral("led-font"), out);
    return saved ? 0 : 1;
}
