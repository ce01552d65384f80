#pragma once

#include <filesystem>
#include <string>

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

} // namespace orvan::test
