#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orvan::test {

// Whether the database file is free for another program: a second
// connection must take it with BEGIN EXCLUSIVE at once. This is the outcome
// that matters, whatever the object that held the file believes about
// itself.
//
//     EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath()));
::testing::AssertionResult FileIsReleased(const std::string& path);

} // namespace orvan::test
