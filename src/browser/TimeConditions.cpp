#include "browser/TimeConditions.h"

namespace xr {

// A box's handler runs only when its state really changes, so the handlers that set each other's
// boxes come to rest.
void TimeConditions::setPeriod(bool checked)
{
    if (m_period == checked)
        return;
    m_period = checked;
    chkbTimeClick();
}

void TimeConditions::setConnectDate(bool checked)
{
    if (m_connectDate == checked)
        return;
    m_connectDate = checked;
    chkbSdtClick();
}

void TimeConditions::setDisconnectDate(bool checked)
{
    if (m_disconnectDate == checked)
        return;
    m_disconnectDate = checked;
    chkbEdtClick();
}

void TimeConditions::chkbTimeClick()
{
    const bool period = m_period;
    setConnectDate(!period);
    setDisconnectDate(!period);
    m_connectPickerEnabled = !period;
    m_disconnectPickerEnabled = !period;
    m_periodListEnabled = period;
}

void TimeConditions::chkbSdtClick()
{
    m_connectPickerEnabled = m_connectDate;
    if (m_connectDate) {
        m_periodListEnabled = false;
        setPeriod(false);
    } else if (!m_disconnectDate) {
        setPeriod(true);
        m_periodListEnabled = true;
    }
}

void TimeConditions::chkbEdtClick()
{
    m_disconnectPickerEnabled = m_disconnectDate;
    if (m_disconnectDate) {
        m_periodListEnabled = false;
        setPeriod(false);
    } else if (!m_connectDate) {
        setPeriod(true);
        m_periodListEnabled = true;
    }
}

} // namespace xr
