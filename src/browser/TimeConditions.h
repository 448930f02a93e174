#pragma once
// The three time check boxes of the query panel and the controls they enable. After every
// change either the period condition is on and both date conditions are off, or the period
// condition is off and at least one date condition is on.

namespace xr {

class TimeConditions {
public:
    // chkbTime, chkbSdt, chkbEdt
    bool period() const { return m_period; }
    bool connectDate() const { return m_connectDate; }
    bool disconnectDate() const { return m_disconnectDate; }

    // cbTime, dtpSd, dtpEd
    bool periodListEnabled() const { return m_periodListEnabled; }
    bool connectPickerEnabled() const { return m_connectPickerEnabled; }
    bool disconnectPickerEnabled() const { return m_disconnectPickerEnabled; }

    // A click (or a change made from code, which runs the same handler) on each check box.
    void setPeriod(bool checked);
    void setConnectDate(bool checked);
    void setDisconnectDate(bool checked);

private:
    void chkbTimeClick();
    void chkbSdtClick();
    void chkbEdtClick();

    bool m_period = true;
    bool m_connectDate = false;
    bool m_disconnectDate = false;
    bool m_periodListEnabled = true;
    bool m_connectPickerEnabled = false;
    bool m_disconnectPickerEnabled = false;
};

} // namespace xr
