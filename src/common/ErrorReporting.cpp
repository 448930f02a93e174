#include "common/ErrorReporting.h"

#include <exception>

namespace xr {

bool reportErrors(Prompter& prompter, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        prompter.error(QString::fromUtf8(error.what()));
    } catch (...) {
        prompter.error(QStringLiteral("未知错误"));
    }
    return false;
}

} // namespace xr
