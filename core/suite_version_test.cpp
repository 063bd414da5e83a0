// The suite version decision: which of file, machine record and user record wins, and where the
// version is written back.
#include "suite_version.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(SuiteVersion, TheHigherOfFileAndMachineWinsAndIsWrittenWhereItIsMissing) {
  struct Case {
    VersionSources in;
    VersionDecision out;
  } cases[] = {
      // machine above file: the file is rewritten
      {{2024.01, 2025.01, 2025.01}, {2025.01, true, false, true}},
      // file above machine: the machine record gets it
      {{2025.02, 2025.01, 2025.01}, {2025.02, false, true, true}},
      // no machine value: it counts as the file's
      {{2025.01, std::nullopt, std::nullopt}, {2025.01, false, true, true}},
      // a user value above the version is left alone
      {{2025.01, 2025.01, 2026.01}, {2025.01, false, true, false}},
      // a missing user value counts as the machine's
      {{2024.01, 2025.01, std::nullopt}, {2025.01, true, false, true}},
      {{2026.01, 2025.01, std::nullopt}, {2026.01, false, true, true}},
  };
  for (const Case& c : cases) {
    VersionDecision d = decideVersion(c.in);
    EXPECT_DOUBLE_EQ(d.version, c.out.version);
    EXPECT_EQ(d.rewriteFile, c.out.rewriteFile) << c.in.file;
    EXPECT_EQ(d.writeMachine, c.out.writeMachine) << c.in.file;
    EXPECT_EQ(d.writeUser, c.out.writeUser) << c.in.file;
  }
}

TEST(SuiteVersion, IsWrittenWithTwoDecimalsInSevenPlaces) {
  EXPECT_EQ(versionText(2025.01), L"2025.01");
  EXPECT_EQ(versionText(7.5), L"   7.50");
}

}  // namespace
}  // namespace core
