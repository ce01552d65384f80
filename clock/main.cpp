#include "clock/TimeClockMain.h"

int main(int argc, char** argv) {
    return orvan::timeclock::Main(argc, argv);
}
