#include "common/ErrorReporting.h"

#include <exception>

namespace xr {

namespace {
const QString kUnknownError = QStringLiteral("未知错误");
} // namespace

bool reportErrors(Prompter& prompter, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        prompter.error(text.trimmed().isEmpty() ? kUnknownError : text); // a box is never empty
    } catch (...) {
        prompter.error(kUnknownError);
    }
    return false;
}

} // namespace xr
