-- Schema version 3 on a server: the audit trail, as storage/orvan_upgrade_3.sql
-- adds it to a file. The first program that connects to a server database
-- of version 2 runs it, in one transaction that holds _SchemaVersion, so the
-- database is upgraded whole or not at all, and once.

CREATE TABLE AuditEntry (
    EntryID      integer PRIMARY KEY,
    EntryTime    text NOT NULL,
    Who          text NOT NULL,
    Kind         text NOT NULL,
    TimeRecordID integer,
    EmployeeID   integer,
    ValueBefore  text NOT NULL DEFAULT '',
    ValueAfter   text NOT NULL DEFAULT '',
    Reason       text NOT NULL DEFAULT '',
    Hash         text NOT NULL
);

CREATE INDEX AuditEntry_TimeRecord ON AuditEntry (TimeRecordID);

UPDATE _SchemaVersion SET Version = 3;
