#include "common/SpinEdit.h"

#include <algorithm>

namespace xr {

void SpinEdit::fixup(QString& input) const
{
    bool isNumber = false;
    const int number = input.trimmed().toInt(&isNumber);
    input = textFromValue(isNumber ? std::clamp(number, minimum(), maximum()) : minimum());
}

} // namespace xr
