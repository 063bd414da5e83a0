// The resource chain: the current module first, then the chain in joining order.
#include "platform/resources.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(ResourceChain, CurrentModuleFirstThenJoiningOrder) {
  const ResourceSet core{L"kcCore", {{1, L"core one"}, {2, L"core two"}}};
  const ResourceSet section{L"kcSection", {{1, L"section one"}, {3, L"section three"}}};
  joinResourceChain(&core);
  joinResourceChain(&section);
  EXPECT_EQ(loadString(1), L"core one");
  EXPECT_EQ(loadString(3), L"section three");
  EXPECT_EQ(loadString(99), L"");
  {
    ResourceOverride own(&section);
    EXPECT_EQ(loadString(1), L"section one");
    EXPECT_EQ(loadString(2), L"core two");
  }
  EXPECT_EQ(currentResourceModule(), nullptr);
  setCurrentResourceModule(&section);
  leaveResourceChain(&section);
  EXPECT_EQ(currentResourceModule(), nullptr);
  EXPECT_EQ(loadString(3), L"");
  leaveResourceChain(&core);
}
