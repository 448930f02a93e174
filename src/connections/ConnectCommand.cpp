#include "connections/ConnectCommand.h"

#include "connections/Dialer.h"
#include "connections/RASNotify.h"

namespace xr {

void actConnectExecute(const TRASNotify& notify, Dialer& dialer, Prompter& prompter)
{
    if (notify.IsConnected())
        prompter.warn(kAlreadyConnectedMessage);
    else
        dialer.DialDefaultConn();
}

} // namespace xr
