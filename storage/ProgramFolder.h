#pragma once

#include <string>

namespace orvan {

// The program folder and the paths below it.
//
// The program folder is the folder of the running executable unless a
// program or a test has set another one with SetProgramFolder. The system's
// files are named relative to it in the Windows form the configuration file
// uses ("\system\orvan_11.cfg"); ProgramPath turns such a name into a path
// under the program folder in the platform's own form.

// The program folder, without a trailing separator (for example
// "/opt/orvan"). Never empty: when the executable's folder cannot be found the
// current folder is used.
std::string ProgramFolder();

// Replaces the program folder for the whole program. Trailing separators are
// dropped. An empty text goes back to the executable's folder.
void SetProgramFolder(const std::string& folder);

// The program folder followed directly by `relative`, whose backslashes
// become the platform's separator: ProgramPath("\\system\\orvan_11.cfg") is
// "/opt/orvan/system/orvan_11.cfg". Nothing is inserted between the two
// parts, so `relative` normally starts with a separator.
std::string ProgramPath(const std::string& relative);

// `path` in the platform's form: on POSIX systems backslashes become "/", so a
// relative path written on Windows works here too; on
// Windows the path is returned unchanged. Every place that hands a
// configured path to the operating system (files, the database) goes through
// this.
std::string NativePath(const std::string& path);

} // namespace orvan
