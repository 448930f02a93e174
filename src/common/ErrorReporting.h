#pragma once
// The program's general error handling: an error that escapes a handler, a timer tick or a
// creation step is shown in an error box with its own text, and the program goes on.

#include "common/Prompter.h"

#include <functional>

namespace xr {

// Runs `step`; an exception leaving it is shown through `prompter` (one without a text as
// "未知错误"). True when none escaped.
bool reportErrors(Prompter& prompter, const std::function<void()>& step);

} // namespace xr
