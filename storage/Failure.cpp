#include "storage/Failure.h"

#include <cerrno>

namespace orvan {

namespace {

Failure& Slot() {
    thread_local Failure current;
    return current;
}

} // namespace

void SetLastFailure(int32_t number, const std::string& source, const std::string& description,
                    int32_t helpContext) {
    const int systemError = errno;
    Failure& f = Slot();
    f.Number = number;
    f.Source = source;
    f.Description = description;
    f.HelpContext = helpContext;
    f.LastSystemError = static_cast<int32_t>(systemError);
    errno = systemError;
}

void SetLastFailure(const Failure& failure) {
    Slot() = failure;
}

Failure LastFailure() {
    return Slot();
}

void ClearLastFailure() {
    Slot() = Failure{};
}

} // namespace orvan
