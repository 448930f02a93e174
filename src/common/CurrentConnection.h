#pragma once
// The signed-in user and the connection whose usage record is open.

#include <QString>

namespace xr {

struct TConnection {
    QString UserId; // empty exactly while nobody is signed in
    QString UserName;
    QString ConnName;
    double Sdt = 0; // start of the open record, day count; the key of its updates
    double Edt = 0; // end time last written to it
    bool Admin = false;

    bool signedIn() const { return !UserId.isEmpty(); }
};

// Signs the user out; the record times stay as they are.
inline void ClearCurrentUser(TConnection& connection)
{
    connection.UserId.clear();
    connection.UserName.clear();
    connection.ConnName.clear();
    connection.Admin = false;
}

} // namespace xr
