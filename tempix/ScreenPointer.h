#pragma once

#include <cstdint>

#include <Qt>

#include "tempix/TempixExport.h"

namespace tempix {

// The application-wide mouse pointer, set by pointer number: 0 default,
// 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size, 6 size NE-SW, 7 size N-S,
// 8 size NW-SE, 9 size W-E, 10 up arrow, 11 hourglass, 12 no drop,
// 13 arrow and hourglass, 14 arrow and question mark, 15 size all,
// 99 custom (shown as the arrow).
class TEMPIX_EXPORT ScreenPointer {
public:
    static constexpr int16_t Default = 0;
    static constexpr int16_t Hourglass = 11;

    // Shows the pointer over every window of the application; 0 gives each
    // widget its own pointer back. Does nothing without an application object.
    static void Set(int16_t pointer);
    // The number last set (0 at start).
    static int16_t Current();
    // The cursor shape of a pointer number; unknown numbers give the arrow.
    static Qt::CursorShape ToCursorShape(int16_t pointer);
};

} // namespace tempix
