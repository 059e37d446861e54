// One command box per user session. Every start of Tovrix first claims the
// session's box; a start that finds it held by an earlier one shows that
// box (restored, in front, the focus in its input line) and ends, so that
// the Run key at log-on and a later double-click do not make two boxes,
// two icons and two players.
#ifndef COMMAND_BOX_SINGLE_INSTANCE_H_
#define COMMAND_BOX_SINGLE_INSTANCE_H_

#include <cstdint>
#include <string>

namespace commandbox {

// The session's claim, as kept by the system (a named object of the
// session's own namespace, readable by every start of the user there).
class SessionClaimPort {
 public:
  enum class Claim {
    // No other start holds the session: this one does now.
    kFirst,
    // An earlier start holds it.
    kHeld,
  };
  virtual ~SessionClaimPort() = default;
  virtual Claim ClaimSession() = 0;
  // The box window the holder has named, when that window still exists;
  // 0 while it names none (it is still starting, or its box has gone).
  virtual std::uint64_t HolderBox() = 0;
  // Whether the start that holds the session is still running.
  virtual bool HolderRuns() = 0;
  // Makes this start the holder in place of one that ended; false when
  // another start got there first (that one is now the holder).
  virtual bool TakeOver() = 0;
  // Asks the holder's box to show itself.
  virtual void ShowBox(std::uint64_t box) = 0;
  virtual void Wait(unsigned ms) = 0;
};

enum class StartDecision {
  // This start opens its box (and names it in the claim).
  kOpenBox,
  // The box of an earlier start was shown; this start ends.
  kShowedEarlierBox,
};

// How long a start waits for a holder that is still starting to name its
// box, in steps of kClaimPollMs. A holder that runs on without a box for
// so long has none to show (it hangs): this start then opens one, since a
// box that cannot be reached is worse than a second one.
inline constexpr unsigned kHolderBoxWaitMs = 10000;
inline constexpr unsigned kClaimPollMs = 100;

StartDecision DecideStart(SessionClaimPort& claim,
                          unsigned wait_ms = kHolderBoxWaitMs,
                          unsigned poll_ms = kClaimPollMs);

// The name of the session's claim: in the session's own namespace
// ("Local\"), with the user's security identifier, so that each user's
// starts meet only their own box, also when two users run programs in one
// session (one through "Run as").
std::wstring SessionClaimName(const std::wstring& user_sid);

}  // namespace commandbox

#endif  // COMMAND_BOX_SINGLE_INSTANCE_H_
