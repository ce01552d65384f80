-- Schema version 1: the clock station's own data, in tables of its own so
-- the employee and option tables and their statements stay as they were.
-- Runs inside the transaction of the open that finds an older file (and of
-- the installer), so a file is upgraded whole or not at all.

-- Station options by name; 'RequirePin' is '1' when the station asks every
-- employee for a PIN, '0' when not.
CREATE TABLE StationOption (
    Name  TEXT PRIMARY KEY,
    Value TEXT NOT NULL
) STRICT;

INSERT INTO StationOption (Name, Value) VALUES ('RequirePin', '0');

-- An employee's PIN as a salted slow hash in libsodium's text form; never
-- the PIN itself. No row: the employee has no PIN.
CREATE TABLE EmployeePin (
    EmployeeID INTEGER PRIMARY KEY,
    PinHash    TEXT NOT NULL
) STRICT;

-- An employee's run of wrong PINs at the station and, after too many, the
-- moment (a day count like TimeRecord's times; 0 none) until which the
-- station refuses the employee. No row: no wrong PIN since the last right one.
CREATE TABLE StationLockout (
    EmployeeID  INTEGER PRIMARY KEY,
    WrongPins   INTEGER NOT NULL DEFAULT 0,
    LockedUntil REAL NOT NULL DEFAULT 0
) STRICT;

PRAGMA user_version = 1;
