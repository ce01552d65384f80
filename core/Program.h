#pragma once

#include <memory>

namespace orvan {

class CJetDB;
class CTimeRecordFactory;

// The program-wide objects the domain classes reach without a reference to
// a program's controller. Each program's controller fills it when it is
// built and clears it when it goes; tests fill it themselves.
class Program {
public:
    // The one time record factory of the running program (none until set).
    static std::shared_ptr<CTimeRecordFactory> TimeRecordFactory();
    static void SetTimeRecordFactory(const std::shared_ptr<CTimeRecordFactory>& factory);
    // A controller's start of its factory: makes one on `database` when
    // `factory` is empty, otherwise empties its time record list and keeps
    // it; then makes it the program's factory. May throw (out of memory).
    static void StartTimeRecordFactory(std::shared_ptr<CTimeRecordFactory>& factory,
                                       const std::shared_ptr<CJetDB>& database);
};

} // namespace orvan
