-- Schema version 4: the administrator's own password as a salted slow hash,
-- in a table of its own so the Employee table and its statements stay as
-- they were. No row: the first-time password in the Employee row still
-- applies. Also an index on the employee number, which the clock station
-- looks up at every press. Runs inside the transaction of the open that
-- finds an older file (and of the installer), so a file is upgraded whole or
-- not at all.

-- The password of the employee (the administrator) as libsodium's Argon2id
-- text form.
CREATE TABLE AdminPassword (
    EmployeeID   INTEGER PRIMARY KEY,
    PasswordHash TEXT NOT NULL
) STRICT;

CREATE INDEX Employee_EmployeeNumber ON Employee (EmployeeNumber);

PRAGMA user_version = 4;
