#pragma once
// Numbers as decimal digits written straight into a character buffer, for texts made by the
// million (the rows of an exported list), where a QString each would cost more than the rest.

#include <QtGlobal>

namespace xr {

// Writes `value` (not negative) with at least `digits` digits, zeros in front, and returns the
// end of what it wrote (at most 19 characters, or `digits`).
inline char* writeDecimal(char* out, quint64 value, int digits = 1)
{
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 || count < digits);
    while (count > 0)
        *out++ = reversed[--count];
    return out;
}

} // namespace xr
