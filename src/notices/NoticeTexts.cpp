#include "notices/NoticeTexts.h"

namespace xr {

QString noticeSoundFile(TNoticeKind kind)
{
    switch (kind) {
    case TNoticeKind::nkNoUser:
    case TNoticeKind::nkAllowance:
        return QStringLiteral("Conn1.wav");
    case TNoticeKind::nkDisconnected:
        return QStringLiteral("Disconn.wav");
    case TNoticeKind::nkUser:
        return QStringLiteral("Conn2.wav");
    }
    return {};
}

QString noticeText(TNoticeKind kind, const QString& detail)
{
    switch (kind) {
    case TNoticeKind::nkNoUser:
        return QStringLiteral("\r\r已经与Internet连接！\r\r您还没有登录 [Xarvane] ！\r\r请登录！");
    case TNoticeKind::nkDisconnected:
        return QStringLiteral("\r\r\r\r与Internet的连接已经断开！\r\r\r");
    case TNoticeKind::nkUser:
        return QStringLiteral("\r\r已经与Internet连接！\r\r当前登录用户：") + detail +
               QStringLiteral("\r\r") + QStringLiteral("XR开始计时！");
    case TNoticeKind::nkAllowance:
        return QStringLiteral("\r\r\r\r") + detail;
    }
    return {};
}

} // namespace xr
