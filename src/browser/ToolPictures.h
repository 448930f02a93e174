#pragma once
// The pictures of the main window's actions: a coloured tile with a sign, in an enabled and a
// greyed disabled version. Drawn by one render function, used for the icons and by tests.

#include <QIcon>
#include <QRectF>

class QPainter;

namespace xr {

enum class ToolPicture {
    Option, Syn, Print, Calc, Connect, DisConn, First, Pre, Next, Last, DelRecord, DelAll,
    MoveRecord, UserManage, Password, ChangeUser, Logout, Help, About, Close, Backup, Comeback,
    ConnSetting, Mail, Stats
};

inline constexpr int kToolPictureSize = 24;

void renderToolPicture(QPainter& painter, const QRectF& box, ToolPicture picture, bool enabled);

// The 24 x 24 picture set of an action: the enabled picture, and the disabled one.
QIcon toolIcon(ToolPicture picture);

} // namespace xr
