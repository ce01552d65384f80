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

void SetLastFailureFromCurrentException(const std::string& source) {
    const int systemError = errno;
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
        number = static_cast<int32_t>(e.code().value());
        description = e.what();
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
    }
    errno = systemError;
    SetLastFailure(number, source, description);
}

Failure LastFailure() {
    return Slot();
}

void ClearLastFailure() {
    Slot() = Failure{};
}

} // namespace orvan
