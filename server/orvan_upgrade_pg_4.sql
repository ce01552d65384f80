-- Schema version 4 on a server: the administrator's password hash and the
-- employee number index, as storage/orvan_upgrade_4.sql adds them to a file.
-- The first program that connects to a server database of version 3 runs it,
-- in one transaction that holds _SchemaVersion, so the database is upgraded
-- whole or not at all, and once.

CREATE TABLE AdminPassword (
    EmployeeID   integer PRIMARY KEY,
    PasswordHash text NOT NULL
);

CREATE INDEX Employee_EmployeeNumber ON Employee (EmployeeNumber);

UPDATE _SchemaVersion SET Version = 4;
