#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The helpers every test folder shares, one class per header; this header
// brings them all in.
#include "support/RecordingMessageBox.h"
#include "support/ScopedClock.h"
#include "support/ScopedMessageBox.h"
#include "support/ScopedTimeRecordFactory.h"
#include "support/TempDir.h"

namespace orvan::test {

// Whole file as bytes; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::string& bytes);
// The file's lines ended by CR LF, without their ends (a last line without
// one included); none when the file cannot be read.
std::vector<std::string> CrLfLines(const std::filesystem::path& path);

} // namespace orvan::test
