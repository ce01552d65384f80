#pragma once

namespace orvan::test {

// Closes every report window (FReportWindow) a test left open and lets the
// closing run its course, so the next test starts without one.
void CloseReportWindows();

} // namespace orvan::test
