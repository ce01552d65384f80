-- The Orvan database: tables, the index on TimeRecord, the stored queries
-- and the rows a new installation starts with. Date-time columns hold day
-- counts (zero is 30 December 1899 00:00, the time of day is the fraction);
-- EndTime 0 is a record that is still open.
--
-- This is the database as first made (schema version 0); the tables added
-- since come from storage/orvan_upgrade_<n>.sql, which a new installation
-- runs after this file just as an older file gets them when it is opened,
-- so new and upgraded databases are alike.

CREATE TABLE TimeRecord (
    TimeRecordID INTEGER PRIMARY KEY AUTOINCREMENT,
    EmployeeID   INTEGER NOT NULL,
    ShiftDate    REAL,
    StartTime    REAL NOT NULL DEFAULT 0,
    EndTime      REAL NOT NULL DEFAULT 0
) STRICT;

CREATE INDEX TimeRecord_EmployeeStartEnd ON TimeRecord (EmployeeID, StartTime, EndTime);

CREATE TABLE _System (
    program               TEXT,
    version               TEXT,
    period_length         INTEGER,
    auto_shift_start_time REAL,
    auto_shift_end_time   REAL
) STRICT;

CREATE TABLE Company (
    CompanyID    INTEGER PRIMARY KEY AUTOINCREMENT,
    Name         TEXT,
    Address1     TEXT,
    Address2     TEXT,
    City         TEXT,
    State        TEXT,
    ZipCode      TEXT,
    Phone        TEXT,
    Fax          TEXT,
    FederalTaxID TEXT,
    URL          TEXT
) STRICT;

CREATE TABLE Employee (
    EmployeeID            INTEGER PRIMARY KEY AUTOINCREMENT,
    EmployeeNumber        INTEGER,
    SSNumber              TEXT,
    FirstName             TEXT,
    LastName              TEXT,
    Address               TEXT,
    Address2              TEXT,
    City                  TEXT,
    State                 TEXT,
    ZipCode               TEXT,
    Phone                 TEXT,
    Password              TEXT,
    PayRate               REAL,
    OvertimePayRate       REAL,
    DateOfBirth           REAL,
    HireDate              REAL,
    ReleaseDate           REAL,
    Active                INTEGER NOT NULL DEFAULT 0 CHECK (Active IN (0, 1)),
    CompanyID             INTEGER,
    AutoDeduct            INTEGER NOT NULL DEFAULT 0 CHECK (AutoDeduct IN (0, 1)),
    AutoDeductLunchLength INTEGER,
    AutoDeductBreakLength INTEGER
) STRICT;

-- Stored parameter queries: a PARAMETERS declaration (name and type of each
-- parameter), then one statement using the parameters as :name.
CREATE TABLE _StoredQuery (
    Name TEXT PRIMARY KEY,
    Sql  TEXT NOT NULL
) STRICT;

INSERT INTO _StoredQuery (Name, Sql) VALUES ('GetAllEmployees',
'SELECT EmployeeID, SSNumber, FirstName, LastName, Address, Address2, City, State, ZipCode, Phone,
       EmployeeNumber, DateOfBirth, HireDate, ReleaseDate, PayRate, OvertimePayRate, Active,
       CompanyID, AutoDeduct, AutoDeductLunchLength, AutoDeductBreakLength, Password
FROM Employee
ORDER BY EmployeeID;');

-- Parameters a caller leaves unset arrive as Null: the automatic deduction
-- flag then defaults to off.
INSERT INTO _StoredQuery (Name, Sql) VALUES ('AddNewEmployee',
'PARAMETERS paramSSN Text, paramFirst Text, paramLast Text, paramAddress Text, paramAddress2 Text,
    paramCity Text, paramState Text, paramZipCode Text, paramPhone Text, paramPassword Text,
    paramPayRate IEEESingle, paramOvertimePay IEEESingle, paramDOB DateTime, paramHireDate DateTime,
    paramRelDate DateTime, paramEmpNumber Long, paramAutoDeduct Bit, paramLunchLength Short,
    paramBreakLength Short, paramActive Bit, paramCompID Long;
INSERT INTO Employee (SSNumber, FirstName, LastName, Address, Address2, City, State, ZipCode, Phone,
    Password, PayRate, OvertimePayRate, DateOfBirth, HireDate, ReleaseDate, EmployeeNumber,
    AutoDeduct, AutoDeductLunchLength, AutoDeductBreakLength, Active, CompanyID)
VALUES (:paramSSN, :paramFirst, :paramLast, :paramAddress, :paramAddress2, :paramCity, :paramState,
    :paramZipCode, :paramPhone, :paramPassword, :paramPayRate, :paramOvertimePay, :paramDOB,
    :paramHireDate, :paramRelDate, :paramEmpNumber, COALESCE(:paramAutoDeduct, 0), :paramLunchLength,
    :paramBreakLength, COALESCE(:paramActive, 0), :paramCompID);');

-- Parameters a caller leaves unset keep the stored value.
INSERT INTO _StoredQuery (Name, Sql) VALUES ('UpdateEmployee',
'PARAMETERS employee_id Long, employee_number Long, SSN Text, first_name Text, last_name Text,
    Address1 Text, Address2 Text, City Text, State Text, zip_code Text, Phone Text, Password Text,
    company_id Long, pay_rate IEEESingle, overtime_pay_rate IEEESingle, dob DateTime,
    hire_date DateTime, release_date DateTime, active_employee Bit, auto_deduct Bit,
    auto_deduct_lunch_length Short, auto_deduct_break_length Short;
UPDATE Employee SET
    EmployeeNumber = :employee_number, SSNumber = :SSN, FirstName = :first_name,
    LastName = :last_name, Address = :Address1, Address2 = :Address2, City = :City, State = :State,
    ZipCode = :zip_code, Phone = :Phone, Password = :Password, CompanyID = :company_id,
    PayRate = :pay_rate, OvertimePayRate = COALESCE(:overtime_pay_rate, OvertimePayRate),
    DateOfBirth = :dob, HireDate = :hire_date, ReleaseDate = :release_date,
    Active = COALESCE(:active_employee, Active), AutoDeduct = COALESCE(:auto_deduct, AutoDeduct),
    AutoDeductLunchLength = COALESCE(:auto_deduct_lunch_length, AutoDeductLunchLength),
    AutoDeductBreakLength = COALESCE(:auto_deduct_break_length, AutoDeductBreakLength)
WHERE EmployeeID = :employee_id;');

INSERT INTO _StoredQuery (Name, Sql) VALUES ('GetAllCompanies',
'SELECT CompanyID, Name, Address1, Address2, City, State, ZipCode, Phone, Fax, FederalTaxID
FROM Company
ORDER BY CompanyID;');

INSERT INTO _StoredQuery (Name, Sql) VALUES ('AddNewCompany',
'PARAMETERS paramName Text, paramAddr1 Text, paramAddr2 Text, paramCity Text, paramState Text,
    paramZipCode Text, paramPhone Text, paramFax Text, paramFederalTaxID Text, paramURL Text;
INSERT INTO Company (Name, Address1, Address2, City, State, ZipCode, Phone, Fax, FederalTaxID, URL)
VALUES (:paramName, :paramAddr1, :paramAddr2, :paramCity, :paramState, :paramZipCode, :paramPhone,
    :paramFax, :paramFederalTaxID, :paramURL);');

INSERT INTO _StoredQuery (Name, Sql) VALUES ('UpdateCompany',
'PARAMETERS paramID Long, paramName Text, paramAddr1 Text, paramAddr2 Text, paramCity Text,
    paramState Text, paramZipCode Text, paramPhone Text, paramFax Text, paramFederalTaxID Text,
    paramURL Text;
UPDATE Company SET
    Name = :paramName, Address1 = :paramAddr1, Address2 = :paramAddr2, City = :paramCity,
    State = :paramState, ZipCode = :paramZipCode, Phone = :paramPhone, Fax = :paramFax,
    FederalTaxID = :paramFederalTaxID, URL = :paramURL
WHERE CompanyID = :paramID;');

-- A new installation: two-week pay periods (13 days from first to last day),
-- a standard shift of 8:00 AM to 5:00 PM, and the administrator's login.
INSERT INTO _System (program, version, period_length, auto_shift_start_time, auto_shift_end_time)
VALUES ('OrvanAdmin', '1.0', 13, 8.0 / 24.0, 17.0 / 24.0);

INSERT INTO Employee (EmployeeID, EmployeeNumber, SSNumber, FirstName, LastName, Address, Address2,
    City, State, ZipCode, Phone, Password, PayRate, OvertimePayRate, DateOfBirth, HireDate,
    ReleaseDate, Active, CompanyID, AutoDeduct, AutoDeductLunchLength, AutoDeductBreakLength)
VALUES (39, 0, '', '', 'administrator', '', '', '', '', '', '', 'renby742', 0, 0, 0, 0, 0, 1, 0, 0, 0,
    0);
