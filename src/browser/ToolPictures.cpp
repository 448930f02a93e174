#include "browser/ToolPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace xr {

namespace {

enum class Sign { Glyph, ToStart, Back, Forward, ToEnd, Cross, Bars };

struct PictureLook {
    QColor tile;
    Sign sign;
    QString glyph;
};

const QColor kNavigation(0x1F, 0x4E, 0x9C);
const QColor kDanger(0xC0, 0x39, 0x2B);
const QColor kUsers(0x8E, 0x5A, 0x2B);
const QColor kConnection(0x2E, 0x8B, 0x57);
const QColor kSettings(0x4A, 0x63, 0x7A);
const QColor kHelp(0x2C, 0x7B, 0xC0);
const QColor kDisabledTile(0xB8, 0xB8, 0xB8);
const QColor kDisabledSign(0xEE, 0xEE, 0xEE);

PictureLook lookOf(ToolPicture picture)
{
    switch (picture) {
    case ToolPicture::Option: return {kSettings, Sign::Glyph, QStringLiteral("设")};
    case ToolPicture::Syn: return {kSettings, Sign::Glyph, QStringLiteral("启")};
    case ToolPicture::Print: return {kSettings, Sign::Glyph, QStringLiteral("印")};
    case ToolPicture::Calc: return {kSettings, Sign::Glyph, QStringLiteral("算")};
    case ToolPicture::Connect: return {kConnection, Sign::Glyph, QStringLiteral("连")};
    case ToolPicture::DisConn: return {kDanger, Sign::Glyph, QStringLiteral("断")};
    case ToolPicture::First: return {kNavigation, Sign::ToStart, {}};
    case ToolPicture::Pre: return {kNavigation, Sign::Back, {}};
    case ToolPicture::Next: return {kNavigation, Sign::Forward, {}};
    case ToolPicture::Last: return {kNavigation, Sign::ToEnd, {}};
    case ToolPicture::DelRecord: return {kDanger, Sign::Glyph, QStringLiteral("删")};
    case ToolPicture::DelAll: return {kDanger, Sign::Glyph, QStringLiteral("清")};
    case ToolPicture::MoveRecord: return {kUsers, Sign::Glyph, QStringLiteral("移")};
    case ToolPicture::UserManage: return {kUsers, Sign::Glyph, QStringLiteral("户")};
    case ToolPicture::Password: return {kUsers, Sign::Glyph, QStringLiteral("密")};
    case ToolPicture::ChangeUser: return {kUsers, Sign::Glyph, QStringLiteral("换")};
    case ToolPicture::Logout: return {kUsers, Sign::Glyph, QStringLiteral("销")};
    case ToolPicture::Help: return {kHelp, Sign::Glyph, QStringLiteral("?")};
    case ToolPicture::About: return {kHelp, Sign::Glyph, QStringLiteral("i")};
    case ToolPicture::Close: return {kDanger, Sign::Cross, {}};
    case ToolPicture::Backup: return {kSettings, Sign::Glyph, QStringLiteral("备")};
    case ToolPicture::Comeback: return {kSettings, Sign::Glyph, QStringLiteral("恢")};
    case ToolPicture::ConnSetting: return {kConnection, Sign::Glyph, QStringLiteral("配")};
    case ToolPicture::Mail: return {kHelp, Sign::Glyph, QStringLiteral("信")};
    case ToolPicture::Stats: return {kConnection, Sign::Bars, {}};
    }
    return {kSettings, Sign::Glyph, {}};
}

// A triangle pointing left (or right when `right`) in `box`.
QPainterPath triangle(const QRectF& box, bool right)
{
    QPainterPath path;
    const qreal tip = right ? box.right() : box.left();
    const qreal base = right ? box.left() : box.right();
    path.moveTo(tip, box.center().y());
    path.lineTo(base, box.top());
    path.lineTo(base, box.bottom());
    path.closeSubpath();
    return path;
}

void drawArrow(QPainter& painter, const QRectF& box, Sign sign, const QColor& colour)
{
    const qreal unit = box.width() / 24.0;
    const QRectF arrow(box.left() + 8 * unit, box.top() + 6 * unit, 8 * unit, 12 * unit);
    const bool right = sign == Sign::Forward || sign == Sign::ToEnd;
    painter.fillPath(triangle(arrow, right), colour);
    if (sign == Sign::ToStart)
        painter.fillRect(QRectF(arrow.left() - 3 * unit, arrow.top(), 2 * unit, arrow.height()), colour);
    if (sign == Sign::ToEnd)
        painter.fillRect(QRectF(arrow.right() + unit, arrow.top(), 2 * unit, arrow.height()), colour);
}

void drawCross(QPainter& painter, const QRectF& box, const QColor& colour)
{
    const qreal unit = box.width() / 24.0;
    painter.setPen(QPen(colour, 3 * unit, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = box.adjusted(7 * unit, 7 * unit, -7 * unit, -7 * unit);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

// Three bars of a bar chart standing on a base line.
void drawBars(QPainter& painter, const QRectF& box, const QColor& colour)
{
    const qreal unit = box.width() / 24.0;
    const qreal base = box.top() + 18 * unit;
    const qreal heights[] = {6, 11, 8};
    for (int bar = 0; bar < 3; ++bar)
        painter.fillRect(QRectF(box.left() + (6 + 4.5 * bar) * unit, base - heights[bar] * unit, 3 * unit,
                                heights[bar] * unit),
                         colour);
    painter.fillRect(QRectF(box.left() + 5 * unit, base, 14 * unit, 1.5 * unit), colour);
}

void drawGlyph(QPainter& painter, const QRectF& box, const QString& glyph, const QColor& colour)
{
    QFont font = painter.font();
    font.setPixelSize(qRound(box.height() * 0.62));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, glyph);
}

QPixmap pictureOf(ToolPicture picture, bool enabled)
{
    QPixmap pixmap(kToolPictureSize, kToolPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderToolPicture(painter, QRectF(0, 0, kToolPictureSize, kToolPictureSize), picture, enabled);
    return pixmap;
}

} // namespace

void renderToolPicture(QPainter& painter, const QRectF& box, ToolPicture picture, bool enabled)
{
    const PictureLook look = lookOf(picture);
    const QColor tile = enabled ? look.tile : kDisabledTile;
    const QColor sign = enabled ? QColor(Qt::white) : kDisabledSign;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = box.adjusted(1, 1, -1, -1);
    QLinearGradient shade(face.topLeft(), face.bottomLeft());
    shade.setColorAt(0, tile.lighter(125));
    shade.setColorAt(1, tile);
    painter.setPen(QPen(tile.darker(140), 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(face, box.width() / 6, box.width() / 6);
    if (look.sign == Sign::Glyph)
        drawGlyph(painter, box, look.glyph, sign);
    else if (look.sign == Sign::Cross)
        drawCross(painter, box, sign);
    else if (look.sign == Sign::Bars)
        drawBars(painter, box, sign);
    else
        drawArrow(painter, box, look.sign, sign);
    painter.restore();
}

QIcon toolIcon(ToolPicture picture)
{
    QIcon icon;
    icon.addPixmap(pictureOf(picture, true), QIcon::Normal);
    icon.addPixmap(pictureOf(picture, false), QIcon::Disabled);
    return icon;
}

} // namespace xr
