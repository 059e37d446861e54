#include "tray/tray_dispatch.h"

#include <gtest/gtest.h>

namespace tray {
namespace {

TEST(TrayDispatchTest, OnlyTheTwoPressesAct) {
  EXPECT_EQ(TrayActionFor(513), TrayAction::kRestore);
  EXPECT_EQ(TrayActionFor(516), TrayAction::kPopupMenu);
  for (unsigned m : {0u, 100u, 339u, 512u, 514u, 515u, 517u, 518u, 519u, 520u, 521u, 522u, 65535u})
    EXPECT_EQ(TrayActionFor(m), TrayAction::kNone) << m;
}

}  // namespace
}  // namespace tray
