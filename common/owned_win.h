// Owning types for the Windows handles the suite holds: each kind closed in
// one place, on every path out of the scope that holds it. Move-only; an
// owner that holds nothing (a failed open) is false and closes nothing.
#ifndef COMMON_OWNED_WIN_H_
#define COMMON_OWNED_WIN_H_

#include "common/win32_win.h"

namespace common {

// Traits: the handle type, the value that means "nothing", a test for a
// usable handle and the call that gives it back to the system.
template <typename Traits>
class Owned {
 public:
  using Value = typename Traits::Value;

  Owned() = default;
  explicit Owned(Value value) : value_(value) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : value_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Value get() const { return value_; }
  explicit operator bool() const { return Traits::Usable(value_); }

  // Gives the handle up without closing it.
  Value release() {
    const Value value = value_;
    value_ = Traits::Empty();
    return value;
  }
  void reset(Value value = Traits::Empty()) {
    if (Traits::Usable(value_))
      Traits::Close(value_);
    value_ = value;
  }
  // For the calls that hand a new handle back through a pointer
  // (RegOpenKeyExW): whatever was held is closed first.
  Value* put() {
    reset();
    return &value_;
  }

 private:
  Value value_ = Traits::Empty();
};

struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Empty() { return nullptr; }
  // CreateFileW answers INVALID_HANDLE_VALUE, OpenProcess null: both hold
  // nothing.
  static bool Usable(Value v) { return v != nullptr && v != INVALID_HANDLE_VALUE; }
  static void Close(Value v) { ::CloseHandle(v); }
};

struct FindHandleTraits {
  using Value = HANDLE;
  static Value Empty() { return INVALID_HANDLE_VALUE; }
  static bool Usable(Value v) { return v != nullptr && v != INVALID_HANDLE_VALUE; }
  static void Close(Value v) { ::FindClose(v); }
};

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Empty() { return nullptr; }
  static bool Usable(Value v) { return v != nullptr; }
  static void Close(Value v) { ::RegCloseKey(v); }
};

template <typename Object>
struct GdiObjectTraits {
  using Value = Object;
  static Value Empty() { return nullptr; }
  static bool Usable(Value v) { return v != nullptr; }
  static void Close(Value v) { ::DeleteObject(v); }
};

struct MemoryDcTraits {
  using Value = HDC;
  static Value Empty() { return nullptr; }
  static bool Usable(Value v) { return v != nullptr; }
  static void Close(Value v) { ::DeleteDC(v); }
};

struct IconTraits {
  using Value = HICON;
  static Value Empty() { return nullptr; }
  static bool Usable(Value v) { return v != nullptr; }
  static void Close(Value v) { ::DestroyIcon(v); }
};

using OwnedHandle = Owned<KernelHandleTraits>;
using OwnedFind = Owned<FindHandleTraits>;
using OwnedKey = Owned<RegistryKeyTraits>;
using OwnedFont = Owned<GdiObjectTraits<HFONT>>;
using OwnedBitmap = Owned<GdiObjectTraits<HBITMAP>>;
using OwnedBrush = Owned<GdiObjectTraits<HBRUSH>>;
using OwnedRegion = Owned<GdiObjectTraits<HRGN>>;
using OwnedMemoryDc = Owned<MemoryDcTraits>;
using OwnedIcon = Owned<IconTraits>;

// Which part of a window a WindowDc draws on: the client area (GetDC) or
// the whole window with its frame (GetWindowDC).
enum class DcArea { kClient, kWhole };

// A window's or the screen's device context, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window, DcArea area = DcArea::kClient)
      : window_(window), dc_(area == DcArea::kWhole ? ::GetWindowDC(window) : ::GetDC(window)) {}
  ~WindowDc() {
    if (dc_)
      ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace common

#endif  // COMMON_OWNED_WIN_H_
