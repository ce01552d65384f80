#include "storage/Failure.h"

#include <cerrno>
#include <exception>
#include <new>
#include <stdexcept>
#include <system_error>

namespace orvan {

namespace {

Failure& Slot() {
    thread_local Failure current;
    return current;
}

// Serial of the failure in Slot(); bumped by every record and every clear.
uint64_t& Serial() {
    thread_local uint64_t serial = 0;
    return serial;
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
    ++Serial();
    errno = systemError;
}

void SetLastFailure(const Failure& failure) {
    Slot() = failure;
    ++Serial();
}

Failure FailureOfCurrentException(const std::string& source) {
    const int systemError = errno;
    Failure failure;
    if (!std::current_exception()) {
        return failure;
    }
    int32_t number = 5;
    std::string description = "Invalid procedure call or argument";
    try {
        const std::exception_ptr current = std::current_exception();
        if (current) {
            std::rethrow_exception(current);
        }
    } catch (const std::bad_alloc&) {
        number = 7;
        description = "Out of memory";
    } catch (const std::invalid_argument&) {
        number = 13;
        description = "Type mismatch";
    } catch (const std::out_of_range&) {
        number = 9;
        description = "Subscript out of range";
    } catch (const std::overflow_error&) {
        number = 6;
        description = "Overflow";
    } catch (const std::range_error&) {
        number = 6;
        description = "Overflow";
    } catch (const std::system_error& e) {
        number = e.code().value() != 0 ? static_cast<int32_t>(e.code().value()) : 5;
        description = e.what();
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
    }
    errno = systemError;
    failure.Number = number;
    failure.Source = source;
    failure.Description = description;
    failure.LastSystemError = static_cast<int32_t>(systemError);
    return failure;
}

void SetLastFailureFromCurrentException(const std::string& source) {
    if (!std::current_exception()) {
        // Called outside a catch block: nothing is being handled.
        SetLastFailure(5, source, "Invalid procedure call or argument");
        return;
    }
    SetLastFailure(FailureOfCurrentException(source));
}

Failure LastFailure() {
    return Slot();
}

void ClearLastFailure() {
    Slot() = Failure{};
    ++Serial();
}

uint64_t LastFailureSerial() {
    return Serial();
}

void ClearLastFailureIf(uint64_t serial) {
    if (serial != 0 && Serial() == serial) {
        ClearLastFailure();
    }
}

} // namespace orvan
