#pragma once

#include <memory>

namespace orvan {

class CTimeRecordFactory;

// The program-wide objects the domain classes reach without a reference to
// a program's controller. Each program's controller fills it when it is
// built and clears it when it goes; tests fill it themselves.
class Program {
public:
    // The one time record factory of the running program (none until set).
    static std::shared_ptr<CTimeRecordFactory> TimeRecordFactory();
    static void SetTimeRecordFactory(const std::shared_ptr<CTimeRecordFactory>& factory);
};

} // namespace orvan
