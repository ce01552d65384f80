#pragma once

#include <cstdint>
#include <string>

namespace orvan {

// The failure currently being handled.
//
// Operations of the system never throw out of their public members; when one
// fails it keeps a number in its own ErrorNumber and, so that the error
// object (CError) can describe the failure later, records it here as "the
// last failure". A CError created in a failure path takes a snapshot of this
// record: number, source, description, help context and the last
// operating-system error code. Inside a catch block the exception being
// handled comes first: the CError describes it (with the source recorded for
// it by SetLastFailureFromCurrentException, when that was called).
//
// Who fills it: any class whose failure may end up in a CError (the database
// object, the controllers, file handling). Fill it at the point where the
// failure is detected, before returning the failure value:
//
//     if (rc != SQLITE_OK) {
//         m_errorNumber = rc;
//         orvan::SetLastFailure(rc, "CJetDB", sqlite3_errmsg(db));
//         return false;
//     }
//
// A controller's failure path then does
//
//     orvan::CError err;                 // snapshot of the record above
//     log.WriteLine("Error: " + std::to_string(err.ErrorNumber()) + " : " +
//                   err.ErrorDescription());
//
// The record is per thread (the programs are single-threaded; tests running
// in parallel threads do not see each other's failures). It is never cleared
// automatically: call ClearLastFailure() when a failure has been dealt with
// and a stale one must not be reported again.
struct Failure {
    int32_t Number = 0;          // the failure's number; 0 = no failure
    std::string Source;          // the component that raised it, may be empty
    std::string Description;     // the failure's description text
    int32_t HelpContext = 0;     // help context id, 0 when there is none
    int32_t LastSystemError = 0; // operating-system error code (errno) at the time
};

// Records a failure. The last operating-system error is taken from errno as it
// is at the moment of the call, so call this right after the failing system
// call (before anything else can change errno). errno itself is left as it was.
void SetLastFailure(int32_t number, const std::string& source, const std::string& description,
                    int32_t helpContext = 0);

// Records a failure exactly as given (LastSystemError included). Both take
// any server password out of the description (WithoutServerPasswords).
void SetLastFailure(const Failure& failure);

// Records the exception being handled; call it only inside a catch block
// (with no exception in flight it records number 5). Known kinds get the
// runtime's usual numbers and texts: out of memory 7 "Out of memory",
// std::invalid_argument 13 "Type mismatch", std::out_of_range 9 "Subscript out
// of range", std::overflow_error and std::range_error 6 "Overflow",
// std::system_error the runtime's number for its system code (as
// RuntimeErrorOfSystemError gives it; the code itself becomes the failure's
// LastSystemError) with its own text; any other exception 5 with its
// what() text, and a non-standard one 5 "Invalid procedure call or argument".
//
//     catch (...) {
//         orvan::SetLastFailureFromCurrentException("CController");
//         orvan::CError err;
//         ...
//     }
void SetLastFailureFromCurrentException(const std::string& source);

// A copy of the failure being handled; all fields empty/zero when none has been
// recorded since the last ClearLastFailure().
Failure LastFailure();

// Forgets the recorded failure.
void ClearLastFailure();

// The failure the exception being handled stands for, numbered and described
// as SetLastFailureFromCurrentException would record it; nothing recorded.
// Number 0 when no exception is being handled.
Failure FailureOfCurrentException(const std::string& source);

// A number that changes with every recorded failure. An object that records a
// failure notes it and later forgets its own failure with
// ClearLastFailureIf, leaving alone any failure recorded after it:
//
//     orvan::SetLastFailure(53, "CFile", "File not found");
//     m_recorded = orvan::LastFailureSerial();
//     ...
//     orvan::ClearLastFailureIf(m_recorded);   // when it is dealt with
uint64_t LastFailureSerial();

// The runtime's number and text for an operating-system error (errno) met
// while handling a file: ENOENT is 53 "File not found", or 76 "Path not
// found" when the file's folder is missing too; anything unknown is 75
// "Path/File access error".
struct RuntimeError {
    int32_t number;
    const char* text;
};
RuntimeError RuntimeErrorOfSystemError(int systemError, bool parentMissing);
void ClearLastFailureIf(uint64_t serial);

} // namespace orvan
