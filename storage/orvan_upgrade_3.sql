-- Schema version 3: the audit trail, every change to a time record, to an
-- employee's pay rates and to the options, in a table of its own so the
-- recorded tables and their statements stay as they were. Runs inside the
-- transaction of the open that finds an older file (and of the installer),
-- so a file is upgraded whole or not at all.

-- One entry per change, numbered 1, 2, 3... in the order written. EntryTime
-- is the real time of the change with its offset from UTC
-- (2026-12-09T15:04:05-06:00); Who the manager's login name or
-- "clock station <computer>"; Kind what was done; TimeRecordID and
-- EmployeeID what it was done to (Null when nothing of the kind);
-- ValueBefore and ValueAfter the values as text (empty when there were
-- none); Reason what the manager typed. Hash is SHA-256 in hexadecimal over
-- the entry's content and the hash of the entry before it, so a changed,
-- removed or slipped-in entry breaks the chain.
CREATE TABLE AuditEntry (
    EntryID      INTEGER PRIMARY KEY,
    EntryTime    TEXT NOT NULL,
    Who          TEXT NOT NULL,
    Kind         TEXT NOT NULL,
    TimeRecordID INTEGER,
    EmployeeID   INTEGER,
    ValueBefore  TEXT NOT NULL DEFAULT '',
    ValueAfter   TEXT NOT NULL DEFAULT '',
    Reason       TEXT NOT NULL DEFAULT '',
    Hash         TEXT NOT NULL
) STRICT;

CREATE INDEX AuditEntry_TimeRecord ON AuditEntry (TimeRecordID);

PRAGMA user_version = 3;
