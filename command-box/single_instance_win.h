// The session's claim of the command box on Windows: a small shared
// memory named in the session's namespace, holding the process id of the
// start that holds the session and the handle of its box. A handle fits
// in 32 bits on 64-bit Windows too, so the 32-bit and the 64-bit Tovrix of
// one user meet in the same claim.
#ifndef COMMAND_BOX_SINGLE_INSTANCE_WIN_H_
#define COMMAND_BOX_SINGLE_INSTANCE_WIN_H_

#include <string>

#include "command-box/single_instance.h"
#include "common/owned_win.h"
#include "common/win32_win.h"

namespace commandbox {

class Win32SessionClaim : public SessionClaimPort {
 public:
  // The claim of the user who runs this program (SessionClaimName).
  Win32SessionClaim();
  explicit Win32SessionClaim(std::wstring name);
  Win32SessionClaim(const Win32SessionClaim&) = delete;
  Win32SessionClaim& operator=(const Win32SessionClaim&) = delete;
  ~Win32SessionClaim() override;

  Claim ClaimSession() override;
  std::uint64_t HolderBox() override;
  bool HolderRuns() override;
  bool TakeOver() override;
  void ShowBox(std::uint64_t box) override;
  void Wait(unsigned ms) override { ::Sleep(ms); }

  // Names this start's box in the claim (nullptr: the box has gone).
  void NameBox(HWND box);

 private:
  struct Shared {
    volatile LONG holder;  // process id
    volatile LONG box;     // window handle, as 32 bits
  };

  std::wstring name_;
  common::OwnedHandle mapping_;
  Shared* shared_ = nullptr;
};

// The message a later start posts to the box to have it shown.
UINT ShowBoxMessage();

}  // namespace commandbox

#endif  // COMMAND_BOX_SINGLE_INSTANCE_WIN_H_
