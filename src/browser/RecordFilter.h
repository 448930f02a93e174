#pragma once
// The state of the query panel below the usage list, as the list's statements read it.

#include "browser/PickList.h"
#include "browser/TimeConditions.h"

#include <QDate>
#include <QStringList>

namespace xr {

struct RecordFilter {
    PickList users;       // cbUserName; its last item is "所有用户" for an administrator
    QStringList userIds;  // slUserId, parallel to users.items
    PickList connections; // cbConnName; its last item is "所有连接"
    PickList stations;    // cbStation; its last item is "所有电脑"
    PickList periods;     // cbTime
    TimeConditions time;  // chkbTime, chkbSdt, chkbEdt
    QDate connectDate;    // dtpSd
    QDate disconnectDate; // dtpEd
};

} // namespace xr
