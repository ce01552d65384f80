#include "storage/Failure.h"

#include <cerrno>
#include <exception>
#include <new>
#include <stdexcept>
#include <system_error>

#include "core/ErrorNumbers.h"
#include "storage/ServerAddress.h"

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

RuntimeError RuntimeErrorOfSystemError(int systemError, bool parentMissing) {
    switch (systemError) {
    case ENOENT:
        return parentMissing ? RuntimeError{err::RuntimePathNotFound, "Path not found"}
                             : RuntimeError{err::RuntimeFileNotFound, "File not found"};
    case ENOTDIR:
        return {err::RuntimePathNotFound, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS:
        return {err::RuntimePermissionDenied, "Permission denied"};
    case EMFILE:
    case ENFILE:
        return {err::RuntimeTooManyFiles, "Too many files"};
    case ENOSPC:
        return {err::RuntimeDiskFull, "Disk full"};
    case EIO:
        return {err::RuntimeDeviceIoError, "Device I/O error"};
    default:
        return {err::RuntimePathFileAccessError, "Path/File access error"};
    }
}

void SetLastFailure(int32_t number, const std::string& source, const std::string& description,
                    int32_t helpContext) {
    const int systemError = errno;
    Failure& f = Slot();
    f.Number = number;
    f.Source = source;
    f.Description = WithoutServerPasswords(description);
    f.HelpContext = helpContext;
    f.LastSystemError = static_cast<int32_t>(systemError);
    ++Serial();
    errno = systemError;
}

void SetLastFailure(const Failure& failure) {
    Slot() = failure;
    Slot().Description = WithoutServerPasswords(failure.Description);
    ++Serial();
}

Failure FailureOfCurrentException(const std::string& source) {
    const int savedErrno = errno;
    int systemError = savedErrno;
    Failure failure;
    if (!std::current_exception()) {
        return failure;
    }
    int32_t number = err::BusyOrInvalidCall;
    std::string description = "Invalid procedure call or argument";
    try {
        const std::exception_ptr current = std::current_exception();
        if (current) {
            std::rethrow_exception(current);
        }
    } catch (const std::bad_alloc&) {
        number = err::RuntimeOutOfMemory;
        description = "Out of memory";
    } catch (const std::invalid_argument&) {
        number = err::RuntimeTypeMismatch;
        description = "Type mismatch";
    } catch (const std::out_of_range&) {
        number = err::RuntimeSubscriptOutOfRange;
        description = "Subscript out of range";
    } catch (const std::overflow_error&) {
        number = err::LockedOrOverflow;
        description = "Overflow";
    } catch (const std::range_error&) {
        number = err::LockedOrOverflow;
        description = "Overflow";
    } catch (const std::system_error& e) {
        // The system's code is no number of ours: the failure takes the
        // runtime's number for it and keeps the code as its last system error.
        if (e.code().category() == std::generic_category() ||
            e.code().category() == std::system_category()) {
            systemError = e.code().value();
            number = RuntimeErrorOfSystemError(systemError, false).number;
        }
        description = e.what();
    } catch (const std::exception& e) {
        description = e.what();
    } catch (...) {
    }
    errno = savedErrno;
    failure.Number = number;
    failure.Source = source;
    failure.Description = description;
    failure.LastSystemError = static_cast<int32_t>(systemError);
    return failure;
}

void SetLastFailureFromCurrentException(const std::string& source) {
    if (!std::current_exception()) {
        // Called outside a catch block: nothing is being handled.
        SetLastFailure(err::BusyOrInvalidCall, source, "Invalid procedure call or argument");
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
