-- Schema version 2: the offset from UTC of each station punch, so that a
-- shift across a daylight-saving change counts the hours that really passed
-- and a punch in the hour a fall-back night repeats names one moment. A
-- table of its own keeps TimeRecord and its statements as they were. Runs
-- inside the transaction of the open that finds an older file (and of the
-- installer), so a file is upgraded whole or not at all.

-- A time record's offsets in minutes east of UTC (local time minus UTC:
-- -300 for Central Daylight Time), as the station read them with the
-- clock-in (StartOffset) and the clock-out (EndOffset); Null where none was
-- read. No row: the record's times take the zone's rules.
CREATE TABLE PunchOffset (
    TimeRecordID INTEGER PRIMARY KEY,
    StartOffset  INTEGER,
    EndOffset    INTEGER
) STRICT;

PRAGMA user_version = 2;
