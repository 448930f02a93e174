#pragma once
// The texts of the printed usage list: the seven labels set before each printing, and how the
// listed user and the connection are read from the open list.

#include "store/RecordQuery.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace xr {

struct ReportTexts {
    QString title; // rptlblTitle
    QString user;  // rptlblUser
    QString conn;  // rptlblConn
    QString pUser; // rptlblPUser
    QString date;  // rptlblDate
    QString total; // rptlblTotol
    QString memo;  // rptlblMemo
    QString traffic; // the bytes of the listed records, beside the total
};

// The user the list is restricted to: the value of ":u" when the statement holds it, or the id
// written into an ordinary user's statement; nothing for a list of all users.
std::optional<QString> listedUserId(const RecordQuery& list);
// "上网用户：" and the listed user's name ("所有用户" without a user condition; nothing after
// the colon when the id has no account). Throws DatabaseError.
QString listedUserText(const QSqlDatabase& db, const RecordQuery& list);
// "连接名称：" and the value of ":c", or "连接名称：所有连接".
QString listedConnectionText(const RecordQuery& list);

// The seven labels for a list opened with `list`, printed by `printingUser` at `now` with the
// window's total text `total`, and the window's traffic total `traffic`. Throws DatabaseError.
ReportTexts reportTexts(const QSqlDatabase& db, const RecordQuery& list, const QString& printingUser,
                        const QDateTime& now, const QString& total, const QString& traffic);

} // namespace xr
