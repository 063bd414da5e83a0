// Test helpers: a drawing made current for one test, and chains that free themselves.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/acdb.h"

namespace host::test {

struct RelRb {
  void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, RelRb>;

inline Chain chainOf(const Groups& groups) { return Chain(chainFromGroups(groups)); }

// A new drawing, current for the test.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { setCurrentDatabase(&db); }
  void TearDown() override { setCurrentDatabase(nullptr); }
  Database db;
};

}  // namespace host::test
