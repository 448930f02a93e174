#pragma once
// The one way the program dials: DialEntry checks the entry and its stored user name and
// password, asks the dial status window to show and starts an asynchronous dial. The
// service's notifications come on its own thread; they are handed to this object's thread
// through a queued call, and only failures are passed on, as the window's error layout.

#include "common/AppContext.h"
#include "platform/RemoteAccess.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace xr {

class DialMailbox;

inline const QString kDefaultConnGoneMessage =
    QStringLiteral("XR默认的连接已经不存在！请指定其它连接为默认连接！");
inline const QString kNoDefaultConnMessage = QStringLiteral(
    "没有指定XR的默认连接或指定的默认连接已经不存在！\r\r注：XR在启动时会自动检查XR的默认连接，"
    "如果默认连接已经不存在XR将修改默认连接为 [未连接] ！");
inline const QString kDialParamsFailedMessage =
    QStringLiteral("获取拨号参数失败！请检查上网属性或联系系统管理员处理！");
inline const QString kEmptyUserNameMessage = QStringLiteral("拨号连接的 [用户名] 不允许是空的！");
inline const QString kEmptyPasswordMessage = QStringLiteral("拨号连接的 [密码] 不允许是空的！");
inline const QString kEntryNameTooLongMessage =
    QStringLiteral("连接名称太长！拨号连接的名称最多只能有256个字符。");
inline const QString kAlreadyConnectedMessage = QStringLiteral("已经连接到Internet！不需要重复连接！");

// The longest name a phonebook entry can have, in characters.
inline constexpr qsizetype kMaxEntryNameLength = 256;

class Dialer : public QObject {
    Q_OBJECT
public:
    // A check made before every dial; true refuses the dial, and the check tells why.
    using DialRefusal = std::function<bool()>;

    explicit Dialer(AppContext& context, QObject* parent = nullptr);
    // Notifications of a dial still running are dropped from here on.
    ~Dialer() override;

    void setRefusal(DialRefusal refusal) { m_refusal = std::move(refusal); }

    // Dials the named entry; every refusal is a warning box and leaves no dial running.
    void DialEntry(const QString& EntryName);
    // DialEntry with the default connection (DefaultConn).
    void DialDefaultConn();
    // Cancel, and every new dial: the last dial, or the connection it made, is ended; whatever
    // it still reports is not shown.
    void HangUpDial();

    platform::ConnHandle DialHandle() const { return m_DialHandle; }
    std::uint32_t DialResult() const { return m_DialResult; }
    const platform::RasDialParams& DialParams() const { return m_DialParams; }

signals:
    // The status window is to show the dialling layout for this entry.
    void dialling(const QString& entryName);
    // The status window is to show the error layout with the service's text and the code.
    void dialFailed(const QString& errorText, std::uint32_t code);

private:
    bool refusesDefaultConn(const QString& entryName) const;
    bool readDialParams(const QString& entryName);
    void startDial(const QString& entryName);
    platform::RasDialNotifier notifierFor(std::uint64_t dial);
    // A notification of dial `dial`, on this object's thread.
    void RasDialCallback(std::uint64_t dial, std::uint32_t error);
    void reportFailure(std::uint32_t error);

    AppContext& m_context;
    platform::RasDialParams m_DialParams;
    platform::ConnHandle m_DialHandle = 0;
    std::uint32_t m_DialResult = 0;
    std::uint64_t m_currentDial = 0; // numbers the dials; notifications of others are dropped
    std::shared_ptr<DialMailbox> m_mailbox;
    DialRefusal m_refusal;
};

} // namespace xr
