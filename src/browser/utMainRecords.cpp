// The main window's usage list: opening it, the total and the counter, moving through it and
// deleting from it.
#include "browser/utMain.h"

#include "browser/AllowanceSummary.h"
#include "browser/MainStatusBar.h"
#include "common/AppContext.h"
#include "browser/QueryPanel.h"
#include "browser/RecordQueries.h"
#include "browser/StatisticsWindow.h"
#include "connections/RASNotify.h"
#include "store/AccountStore.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/SqlCommand.h"

#include <QLabel>
#include <QTableView>

#include <algorithm>

namespace xr {

namespace {

const QString kDeleteRefused = QStringLiteral("连接状态下不允许删除！");
const QString kDeleteQuestion = QStringLiteral("执行删除操作将永久删除上网记录，删除后将不能恢复，确认删除吗？");
const QString kDeleteAllWarning = QStringLiteral("您将删除列表中的所有上网记录！！继续吗？");
const QString kLocalOnly = QStringLiteral("服务器不可用：只显示本机记录");
const QString kDeleteWhileAway = QStringLiteral(
    "服务器不可用，不能删除记录：记录以服务器上的为准，只在本机删除的记录以后还会出现。请在服务器恢复后再删除。");

QString counterText(int count, int position)
{
    return QStringLiteral("共 %1 条记录 * 当前第 %2 条").arg(count).arg(position);
}

} // namespace

void TwinMain::ShowDefaultRecords()
{
    const TConnection& user = m_context.currentConnection;
    const QDateTime now = m_context.clock.now();
    m_pnlFind->resetToDefaults(m_context.settings, user, now.date());
    m_model.close();
    openList(defaultRecordsQuery(m_pnlFind->filter(), m_context.settings.DefaultTime, user, now));
}

void TwinMain::btnFindClick()
{
    m_model.close();
    openList(findRecordsQuery(m_pnlFind->filter(), m_context.currentConnection, m_context.clock.now()));
}

bool TwinMain::onServer(const std::function<void(const QSqlDatabase&)>& work)
{
    const QSqlDatabase server = m_context.server.connection();
    if (!server.isValid())
        return false;
    try {
        work(server);
        return true;
    } catch (const DatabaseError&) {
        if (!m_context.server.wentAway())
            throw;
    }
    return false;
}

// Every PC's records when the server answers; this PC's, and the status bar saying so, when a
// server is set but does not answer, also when it goes away while the list opens.
void TwinMain::openList(RecordQuery query)
{
    if (!onServer([&](const QSqlDatabase& server) { m_model.open(server, query); }))
        m_model.open(m_adoConnMain.connection(), query);
    m_stbMain->showListSource(m_context.server.isSet() && !list().onServer() ? kLocalOnly : QString());
    adodsRecordAfterOpen();
}

bool TwinMain::workOnList(const std::function<void()>& work)
{
    if (!list().onServer()) {
        work();
        return true;
    }
    try {
        work();
        return true;
    } catch (const DatabaseError&) {
        if (!m_context.server.wentAway())
            throw;
    }
    const RecordQuery query = list().query();
    m_model.close();
    openList(query);
    return false;
}

bool TwinMain::refusedWhileServerAway(const QString& refusal)
{
    if (!m_context.server.isSet() || list().onServer())
        return false;
    m_context.prompter.inform(refusal);
    return true;
}

// The statistics window follows the list's user and connection.
void TwinMain::adodsRecordAfterOpen()
{
    CalcTotalTime();
    showAllowanceSummary();
    if (m_winStats)
        m_winStats->showChoice(listChoice());
    if (m_model.rowCount() > 0)
        ShowCounter();
    else
        m_pnlFind->setCounter(counterText(0, 0));
}

// For a list of one person's records; a list of everybody's has no such line.
void TwinMain::showAllowanceSummary()
{
    const QString userId = list().query().values().value(QStringLiteral(":u")).toString();
    m_lblAllowance->setText(userId.isEmpty()
                                ? QString()
                                : allowanceSummary(AccountStore(m_context.server, m_adoConnMain), userId,
                                                   m_context.clock.now()));
}

// The total walks the list to its end, so the last record is current afterwards.
void TwinMain::CalcTotalTime()
{
    m_pnlFind->setTotal(list().sums().totalText(m_context.settings.Precision));
    m_pnlFind->setTraffic(list().traffic().text());
    setCurrentRow(m_model.rowCount() - 1);
}

void TwinMain::ShowCounter()
{
    m_pnlFind->setCounter(counterText(m_model.rowCount(), currentRow() + 1));
}

int TwinMain::currentRow() const
{
    return m_dbgMain->currentIndex().row();
}

// The row becomes current and selected, and the grid scrolls to it.
void TwinMain::setCurrentRow(int row)
{
    m_dbgMain->selectionModel()->setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                           QItemSelectionModel::Rows);
    bringCurrentRowIntoView();
}

// A reopened list has changed the grid's extent; its scroll range is brought up to date first,
// or the scroll would stop at the old list's end.
void TwinMain::bringCurrentRowIntoView()
{
    m_dbgMain->doItemsLayout();
    m_dbgMain->scrollTo(m_dbgMain->currentIndex());
}

void TwinMain::enableMoves(bool towardsStart, bool towardsEnd)
{
    m_actions.actFirst->setEnabled(towardsStart);
    m_actions.actPre->setEnabled(towardsStart);
    m_actions.actNext->setEnabled(towardsEnd);
    m_actions.actLast->setEnabled(towardsEnd);
}

void TwinMain::actFirstExecute()
{
    setCurrentRow(0);
    enableMoves(false, true);
    ShowCounter();
}

// Only a move tried on the first record (the list reports its beginning) changes the commands.
void TwinMain::actPreExecute()
{
    const int row = currentRow();
    if (row <= 0)
        enableMoves(false, true);
    else
        setCurrentRow(row - 1);
    ShowCounter();
}

void TwinMain::actNextExecute()
{
    const int row = currentRow();
    if (row >= m_model.rowCount() - 1)
        enableMoves(true, false);
    else
        setCurrentRow(row + 1);
    ShowCounter();
}

void TwinMain::actLastExecute()
{
    setCurrentRow(m_model.rowCount() - 1);
    enableMoves(true, false);
    ShowCounter();
}

// The first steps of both deletes: something listed, no connection up, and the user agrees.
bool TwinMain::deleteAllowed()
{
    if (m_model.rowCount() == 0)
        return false;
    if (m_RASNotify.IsConnected()) {
        m_context.prompter.inform(kDeleteRefused);
        return false;
    }
    if (refusedWhileServerAway(kDeleteWhileAway))
        return false;
    return m_context.prompter.confirm(kDeleteQuestion);
}

// The total stays as it was; only the counter changes.
void TwinMain::actDelRecordExecute()
{
    const int row = currentRow();
    if (row < 0 || !deleteAllowed())
        return;
    if (!workOnList([&] { m_model.removeRecord(row); }))
        return;
    setCurrentRow(std::min(row, m_model.rowCount() - 1));
    ShowCounter();
}

// Deletes what the list selects, with the values it was opened with (a period's bounds as they
// were then, not as they would be now), and opens the list again with its own statement. On
// the server the deleted rows are kept among the deleted in the same statement.
void TwinMain::actDelAllExecute()
{
    if (!deleteAllowed())
        return;
    if (m_context.prompter.ask(PromptKind::Warning, kDeleteAllWarning, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    const RecordQuery listQuery = list().query();
    const RecordQuery deletion = deleteAllQuery(listQuery);
    if (list().onServer()) {
        if (!workOnList([&] { withTombstones(deletion).run(list().connection()); }))
            return;
    } else {
        m_adocommSql.setCommandText(deletion.text());
        for (auto value = deletion.values().cbegin(); value != deletion.values().cend(); ++value)
            m_adocommSql.setParameter(value.key(), value.value());
        m_adocommSql.execute();
    }
    m_model.close();
    openList(listQuery);
}

} // namespace xr
