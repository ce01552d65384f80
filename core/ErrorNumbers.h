#pragma once

#include <cstdint>

// The system's error numbers, by name. Every object keeps the number of its
// last failure in ErrorNumber; windows show it first in their failure boxes
// and the error log writes it, so the numbers themselves never change.
// Grouped by hundreds:
//   1xx controller start-up, 2xx main window, 3xx lists and saving,
//   40x-42x database and time card set-up, 50x files, 52x the database's
//   copies (backups), 60x time cards,
//   70x reports, 80x date ranges, personnel saving and text rendering,
//   81x time record statements, 89x date conversion, 90x document launching,
//   95x the database server's failures (raised as EngineError).
// Numbers below 100 and above 999 are not ours: they are the runtime's
// (5, 6, 13...) or the database engine's own result codes, kept as they come.
namespace orvan::err {

// 1xx: start-up of a program's controller.
inline constexpr int32_t ControllerConstruction = 101;

// 2xx: the manager's main window.
inline constexpr int32_t NoController = 211;              // its controller was set to nothing
inline constexpr int32_t MainWindowFillFailed = 221;      // a list of the window not filled
inline constexpr int32_t MainWindowShowFrameFailed = 281; // a tab page not shown
inline constexpr int32_t MainWindowClearFailed = 283;     // the forms not emptied

// 3xx: lists (time records, employees, companies, strings) and saving.
inline constexpr int32_t ListCreate = 301; // storage not prepared, or a load failed
inline constexpr int32_t ListDestroy = 302;
inline constexpr int32_t ListInsert = 312;
inline constexpr int32_t ListRemove = 313;
inline constexpr int32_t ListSort = 314;
inline constexpr int32_t SaveFailed = 321;
inline constexpr int32_t ListEmpty = 331;
inline constexpr int32_t ListSearch = 341;
inline constexpr int32_t ListIndexOutOfRange = 351;

// 40x-42x: the database and the time card's set-up.
inline constexpr int32_t NoDatabase = 403;
inline constexpr int32_t NoTimeRecordFactory = 405;
inline constexpr int32_t NoStatement = 406;
inline constexpr int32_t StatementFailed = 407;
inline constexpr int32_t AddFailed = 412;
inline constexpr int32_t UpdateFailed = 413;
inline constexpr int32_t NegativeRecordCount = 421;

// 50x: files.
inline constexpr int32_t FileNotOpen = 503;
inline constexpr int32_t FileReadInWriteMode = 504;
inline constexpr int32_t FileWriteInReadMode = 505;
inline constexpr int32_t FileClose = 506;
inline constexpr int32_t NoFreeFileNumber = 511;

// 52x: the database's copies under backups/.
inline constexpr int32_t BackupFailed = 521; // no copy made

// 60x: time cards.
inline constexpr int32_t TimeCardUnexpected = 601;
inline constexpr int32_t NoEmployee = 602;
inline constexpr int32_t InvalidPeriod = 603;
inline constexpr int32_t TimeRecordsNotLoaded = 604;
inline constexpr int32_t NoTimeRecords = 605;
inline constexpr int32_t TimeRecordNotFound = 607;
// A clock-out earlier than the clock-in it would close (the computer's clock
// went back): nothing is stored and the record stays open.
inline constexpr int32_t ClockOutBeforeClockIn = 608;

// 70x: reports.
inline constexpr int32_t ReportCreateWindow = 701;
inline constexpr int32_t ReportWriteFile = 702;
inline constexpr int32_t ReportWriteWindow = 703;
inline constexpr int32_t ReportNoCompanyList = 704;
inline constexpr int32_t ReportNoEmployeeList = 705;
inline constexpr int32_t ReportNoTimeCard = 706;
inline constexpr int32_t ReportUnexpected = 710;

// 80x: date ranges, personnel saving and text rendering.
inline constexpr int32_t RangeDateNotConvertible = 801;
inline constexpr int32_t RangeEndBeforeStart = 802;
// 803 has two meanings, by the object that sets it: a date range's bound or
// tested date before 1900 or after 2100, and a record (time record,
// employee) that could not be stored or had nothing to store.
inline constexpr int32_t OutOfLimitsOrNotSaved = 803;
inline constexpr int32_t RangeNotValidated = 804;
inline constexpr int32_t TextRendering = 806;

// 81x: time record statements.
inline constexpr int32_t InsertStatement = 810;
inline constexpr int32_t UpdateStatement = 811;
inline constexpr int32_t DeleteStatement = 812;
inline constexpr int32_t FetchStatement = 813;

// 89x: date conversion.
inline constexpr int32_t NotADate = 899;

// 90x: document launching.
inline constexpr int32_t DocumentNameEmpty = 901;
inline constexpr int32_t DocumentNotFound = 902;
inline constexpr int32_t DocumentNoParent = 911;

// 95x: the database server (PostgreSQL). A server that refuses a lock
// within the lock timeout, or a statement still running at the statement
// timeout, raises BusyOrInvalidCall, as the file held by another program
// does.

// The address is not valid, the login or the database was refused, or the
// program has no server engine.
inline constexpr int32_t ServerConnectionFailed = 951;
// The server refused a statement.
inline constexpr int32_t ServerStatementFailed = 952;
// A conflicting transaction: run it again.
inline constexpr int32_t ServerSerializationFailure = 953;
// Not reached or no answer within the timeout, or the connection was lost
// during an operation.
inline constexpr int32_t ServerUnreachable = 954;

// The runtime's numbers, kept as the runtime gives them: failures of the
// program itself (an exception of a known kind) and of file handling (the
// operating system's error, turned into the runtime's number; the system's
// own errno travels beside it as the failure's LastSystemError and is never
// a number of this register).
// 5 and 6 are numbers of the runtime and of the engine at once; each has
// one name that says both. 5: the runtime's "Invalid procedure call or
// argument" (an exception of no known kind), and the database held by
// another program beyond the busy timeout (SQLite's busy; the server's lock
// timeout). 6: the runtime's "Overflow" (a value that does not fit its
// type), and SQLite's locked table.
inline constexpr int32_t BusyOrInvalidCall = 5;
inline constexpr int32_t LockedOrOverflow = 6;
inline constexpr int32_t RuntimeOutOfMemory = 7;
inline constexpr int32_t RuntimeSubscriptOutOfRange = 9;
inline constexpr int32_t RuntimeTypeMismatch = 13;
inline constexpr int32_t RuntimeFileNotFound = 53;
inline constexpr int32_t RuntimeDeviceIoError = 57;
inline constexpr int32_t RuntimeDiskFull = 61;
inline constexpr int32_t RuntimeTooManyFiles = 67;
inline constexpr int32_t RuntimePermissionDenied = 70;
inline constexpr int32_t RuntimePathFileAccessError = 75;
inline constexpr int32_t RuntimePathNotFound = 76;
inline constexpr int32_t RuntimeInvalidUseOfNull = 94;
inline constexpr int32_t EngineNotADatabase = 26;
// The Jet dialect's date literal that is no date (#13/45/2003#).
inline constexpr int32_t EngineSyntaxErrorInDate = 3075;
inline constexpr int32_t EngineNoCurrentRecord = 3021;
inline constexpr int32_t EngineQueryNotFound = 3078;
inline constexpr int32_t EngineItemNotFound = 3265;
inline constexpr int32_t EngineObjectInvalid = 3420;
inline constexpr int32_t EngineDataTypeMismatch = 3464;

} // namespace orvan::err
