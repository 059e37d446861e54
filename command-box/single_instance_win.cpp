#include "command-box/single_instance_win.h"

#include <utility>
#include <vector>

#include "command-box/command_box_window_win.h"
#include "common/account_win.h"
#include "window-look/skin_engine_win.h"

namespace commandbox {
namespace {

HWND BoxOf(LONG value) {
  return static_cast<HWND>(LongToHandle(value));
}

}  // namespace

UINT ShowBoxMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Tovrix.CommandBox.Show");
  return message;
}

Win32SessionClaim::Win32SessionClaim() : Win32SessionClaim(SessionClaimName(common::CurrentUserSid())) {}

Win32SessionClaim::Win32SessionClaim(std::wstring name) : name_(std::move(name)) {}

Win32SessionClaim::~Win32SessionClaim() {
  if (shared_)
    ::UnmapViewOfFile(shared_);
}

SessionClaimPort::Claim Win32SessionClaim::ClaimSession() {
  mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(Shared), name_.c_str()));
  const DWORD error = ::GetLastError();
  if (!mapping_) {
    // The claim exists but this start may not open it: it was made by
    // the same user's elevated start (its object carries the
    // administrators' rights and a high integrity label). Its box is then
    // looked for by its class and caption.
    return error == ERROR_ACCESS_DENIED ? Claim::kHeld : Claim::kFirst;
  }
  shared_ = static_cast<Shared*>(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(Shared)));
  if (!shared_)
    return error == ERROR_ALREADY_EXISTS ? Claim::kHeld : Claim::kFirst;
  if (error == ERROR_ALREADY_EXISTS)
    return Claim::kHeld;
  ::InterlockedExchange(&shared_->holder, static_cast<LONG>(::GetCurrentProcessId()));
  return Claim::kFirst;
}

std::uint64_t Win32SessionClaim::HolderBox() {
  HWND box = nullptr;
  DWORD process = 0;
  if (!shared_) {
    box = ::FindWindowW(look::kFormClass, CommandBoxWindow::kCaption);
    return reinterpret_cast<std::uintptr_t>(box);
  }
  box = BoxOf(shared_->box);
  // A handle the holder named, still its window: a handle of a box that
  // has gone may belong to another window by now.
  if (!box || !::IsWindow(box) || !::GetWindowThreadProcessId(box, &process) ||
      process != static_cast<DWORD>(shared_->holder)) {
    return 0;
  }
  return reinterpret_cast<std::uintptr_t>(box);
}

bool Win32SessionClaim::HolderRuns() {
  if (!shared_)
    return true;
  const DWORD holder = static_cast<DWORD>(shared_->holder);
  // The claim is made a moment before its process id is written.
  if (holder == 0)
    return true;
  const common::OwnedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, holder));
  if (!process)
    return ::GetLastError() == ERROR_ACCESS_DENIED;
  return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

bool Win32SessionClaim::TakeOver() {
  if (!shared_)
    return true;
  const LONG seen = shared_->holder;
  const LONG self = static_cast<LONG>(::GetCurrentProcessId());
  if (::InterlockedCompareExchange(&shared_->holder, self, seen) != seen)
    return false;
  ::InterlockedExchange(&shared_->box, 0);
  return true;
}

void Win32SessionClaim::ShowBox(std::uint64_t value) {
  HWND box = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
  DWORD process = 0;
  ::GetWindowThreadProcessId(box, &process);
  // This start was begun by the user and may bring a window to the front;
  // it hands that right to the box's process, which brings its box.
  ::AllowSetForegroundWindow(process);
  ::PostMessageW(box, ShowBoxMessage(), 0, 0);
}

void Win32SessionClaim::NameBox(HWND box) {
  if (!shared_ || static_cast<DWORD>(shared_->holder) != ::GetCurrentProcessId())
    return;
  ::InterlockedExchange(&shared_->box, HandleToLong(box));
}

}  // namespace commandbox
