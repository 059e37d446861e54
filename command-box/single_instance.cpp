#include "command-box/single_instance.h"

namespace commandbox {

StartDecision DecideStart(SessionClaimPort& claim, unsigned wait_ms, unsigned poll_ms) {
  if (claim.ClaimSession() == SessionClaimPort::Claim::kFirst)
    return StartDecision::kOpenBox;
  for (unsigned waited = 0;; waited += poll_ms) {
    if (const std::uint64_t box = claim.HolderBox()) {
      claim.ShowBox(box);
      return StartDecision::kShowedEarlierBox;
    }
    // A holder that ended without clearing the claim (it closed a moment
    // ago, or it crashed) leaves the session to this start; a start that
    // took over first is the holder to wait for.
    if (!claim.HolderRuns() && claim.TakeOver())
      return StartDecision::kOpenBox;
    if (waited >= wait_ms) {
      claim.TakeOver();
      return StartDecision::kOpenBox;
    }
    claim.Wait(poll_ms);
  }
}

std::wstring SessionClaimName(const std::wstring& user_sid) {
  std::wstring name = L"Local\\Tovrix.CommandBox";
  if (!user_sid.empty())
    name += L"." + user_sid;
  return name;
}

}  // namespace commandbox
