#include "app/XarvaneApplication.h"

#include "common/ErrorReporting.h"

namespace xr {

XarvaneApplication::XarvaneApplication(int& argc, char** argv, Prompter& prompter)
    : QApplication(argc, argv), m_prompter(prompter)
{
}

bool XarvaneApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    reportErrors(m_prompter, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace xr
