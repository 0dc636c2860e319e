#pragma once

#include <cstdint>

namespace tram {

// The "<" and ">" of the segment, route and tram panels: the current element
// steps within 1..count. False when it is already at that end (for ">", also
// beyond it, as after opening a smaller scheme), and then it stays as it is.
inline bool StepToPrevious(uint8_t& current)
{
    if (current <= 1)
        return false;
    --current;
    return true;
}

inline bool StepToNext(uint8_t& current, int count)
{
    if (current >= count)
        return false;
    ++current;
    return true;
}

} // namespace tram
