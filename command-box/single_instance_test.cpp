#include "command-box/single_instance.h"

#include <gtest/gtest.h>

#include <string>

namespace commandbox {
namespace {

// An earlier start as the claim shows it, over the waits of a later one.
class FakeClaim : public SessionClaimPort {
 public:
  Claim ClaimSession() override { return claim; }
  std::uint64_t HolderBox() override { return box_from >= 0 && waits >= box_from ? kBox : 0; }
  bool HolderRuns() override { return ends_at < 0 || waits < ends_at; }
  bool TakeOver() override {
    log += "take-over ";
    if (!other_takes_over)
      return true;
    // Another start took over first; it names its box at once.
    box_from = waits;
    ends_at = -1;
    return false;
  }
  void ShowBox(std::uint64_t box) override { log += box == kBox ? "show " : "show-wrong "; }
  void Wait(unsigned) override { ++waits; }

  static constexpr std::uint64_t kBox = 0x10046;
  Claim claim = Claim::kHeld;
  int box_from = -1;  // the wait from which the holder's box is named
  int ends_at = -1;   // the wait from which the holder no longer runs
  bool other_takes_over = false;
  int waits = 0;
  std::string log;
};

TEST(SingleInstanceTest, ALaterStartShowsTheEarlierBox) {
  using Claim = SessionClaimPort::Claim;
  constexpr auto kOpen = StartDecision::kOpenBox;
  constexpr auto kShowed = StartDecision::kShowedEarlierBox;
  const struct {
    const char* name;
    Claim claim;
    int box_from, ends_at;
    bool other_takes_over;
    StartDecision want;
    int waits;
    const char* log;
  } cases[] = {
      {"the first start", Claim::kFirst, -1, -1, false, kOpen, 0, ""},
      {"a box is open", Claim::kHeld, 0, -1, false, kShowed, 0, "show "},
      {"the first start is still starting", Claim::kHeld, 3, -1, false, kShowed, 3, "show "},
      {"the first start has just closed", Claim::kHeld, -1, 2, false, kOpen, 2, "take-over "},
      {"another start took over first", Claim::kHeld, -1, 0, true, kShowed, 1, "take-over show "},
      {"the first start hangs without a box", Claim::kHeld, -1, -1, false, kOpen, 100,
       "take-over "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClaim claim;
    claim.claim = c.claim;
    claim.box_from = c.box_from;
    claim.ends_at = c.ends_at;
    claim.other_takes_over = c.other_takes_over;
    EXPECT_EQ(DecideStart(claim, 10000, 100), c.want);
    EXPECT_EQ(claim.waits, c.waits);
    EXPECT_EQ(claim.log, c.log);
  }
}

}  // namespace
}  // namespace commandbox
