// The main window's account commands: user administration, password change, and giving an
// anonymous record to a user.
#include "browser/utMain.h"

#include "common/AppContext.h"
#include "connections/RASNotify.h"
#include "users/AnonymousRecords.h"
#include "users/utPassword.h"
#include "users/utSelUser.h"
#include "users/utUserManage.h"

#include <QTableView>

namespace xr {

void TwinMain::actUserManageExecute()
{
    TwinUserManage winUserManage(m_context, m_adoConnMain, this);
    winUserManage.exec();
}

// At most one password dialog: the command does nothing while one is open.
void TwinMain::actPasswordExecute()
{
    if (m_winPassword)
        return;
    TwinPassword winPassword(m_context, m_adocommSql, m_context.currentConnection.UserId, this);
    m_winPassword = &winPassword;
    winPassword.exec();
}

// One anonymous record of the list, the current one, goes to the user picked; the list is
// opened again without it. The picker goes with this function, also when a step fails.
void TwinMain::actMoveRecordExecute()
{
    if (m_RASNotify.IsConnected()) {
        m_context.prompter.inform(QStringLiteral("连接状态下不允许执行该操作！"));
        return;
    }
    if (refusedWhileServerAway(
            QStringLiteral("服务器不可用，不能指定匿名记录：记录以服务器上的为准。请在服务器恢复后再指定。")))
        return;
    if (!listsAnonymousRecords(list().query())) {
        m_context.prompter.inform(QStringLiteral("请选择[匿名用户]的上网记录！"));
        return;
    }
    if (m_model.rowCount() == 0)
        return;
    m_dbgMain->setFocus();
    if (m_winSelUser)
        return;
    TwinSelUser winSelUser(m_context, m_adoConnMain, this);
    m_winSelUser = &winSelUser;
    winSelUser.exec();
    if (!winSelUser.SelUserId().isEmpty() &&
        m_context.prompter.confirm(moveRecordQuestion(winSelUser.SelUserName())))
        assignCurrentRecord(winSelUser);
}

void TwinMain::assignCurrentRecord(const TwinSelUser& winSelUser)
{
    const int row = currentRow();
    if (row < 0)
        return;
    if (!workOnList([&] { m_model.assignRecord(row, winSelUser.SelUserId()); }))
        return;
    const RecordQuery query = list().query();
    m_model.close();
    openList(query);
}

} // namespace xr
