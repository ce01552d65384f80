-- Schema version 2 on a server: the offset from UTC of each station punch,
-- as storage/orvan_upgrade_2.sql adds it to a file. The first program that
-- connects to a server database of version 1 runs it, in one transaction
-- that holds _SchemaVersion, so the database is upgraded whole or not at
-- all, and once.

CREATE TABLE PunchOffset (
    TimeRecordID integer PRIMARY KEY,
    StartOffset  integer,
    EndOffset    integer
);

UPDATE _SchemaVersion SET Version = 2;
