#pragma once

namespace orvan::test {

// The window suites run on one offscreen screen of 1366 by 768 pixels, the
// smallest screen the programs' windows must fit. Called before the
// application object is made; leaves any platform other than offscreen
// alone, and defaults to offscreen when none was asked for.
void UseLaptopScreen();

constexpr int LaptopScreenWidth = 1366;
constexpr int LaptopScreenHeight = 768;

} // namespace orvan::test
