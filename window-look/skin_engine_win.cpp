#include "window-look/skin_engine_win.h"

#include <cwchar>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/owned_win.h"
#include "common/text_rules.h"
#include "common/window_win.h"
#include "window-look/button_skin_state.h"
#include "window-look/skin_atlas.h"

namespace look {
namespace {

constexpr wchar_t kProcAddr[] = L"PROCADDR";
constexpr wchar_t kOldState[] = L"OLDSTATE";
constexpr wchar_t kAlphaLevel[] = L"ALPHALEVEL";
constexpr wchar_t kMouseFlag[] = L"MOUSEFLAG";
constexpr wchar_t kTimerId[] = L"TIMERID";

// Text drawing flags of the faces: centred both ways, one line, ellipsis at
// the end, "&" as the access-key marker.
constexpr UINT kCaptionFlags = 0x8025;

struct Engine {
  bool initialised = false;
  bool uses_track_mouse_event = false;
  int skinned_buttons = 0;
  int hooked_windows = 0;
  // The DC is declared after its bitmap, so that it goes first: a bitmap
  // selected into a DC cannot be deleted.
  common::OwnedBitmap atlas_bitmap;
  common::OwnedMemoryDc atlas;
  int atlas_builds = 0;
  BOOL(WINAPI* track)(LPTRACKMOUSEEVENT) = nullptr;
};
Engine g_engine;

std::wstring StateName(const wchar_t* prefix, int state) {
  return std::wstring(prefix) + static_cast<wchar_t>(L'0' + state);
}

void SetValue(HWND window, const wchar_t* name, INT_PTR value) {
  ::SetPropW(window, name, reinterpret_cast<HANDLE>(value));
}

// The engine's own copy of what it keeps in the properties of the windows
// it has taken over. The properties are written all the same and stay
// the record anyone may read; the engine itself reads this copy, because under
// Wine every property read is a round trip to the server (some 35 us on
// this kind of machine), and every message to a hooked window and every
// tick of a fade asked for one to six of them. Entries are made when a
// window is taken over and removed when it is given back (on its
// WM_DESTROY at the latest).
struct Hooked {
  WNDPROC previous = nullptr;  // "PROCADDR"
  ButtonSkin skin;             // buttons: "OLDSTATE", "ALPHALEVEL", "MOUSEFLAG"
  INT_PTR timer = 0;           // buttons: "TIMERID"
  HDC state_dc[4] = {};        // buttons: "HDC0" to "HDC3"
};

std::unordered_map<HWND, Hooked>& HookedWindows() {
  static std::unordered_map<HWND, Hooked> windows;
  return windows;
}

Hooked* Find(HWND window) {
  auto& windows = HookedWindows();
  const auto it = windows.find(window);
  return it == windows.end() ? nullptr : &it->second;
}

HDC StateDc(HWND button, int state) {
  const Hooked* hooked = Find(button);
  return hooked && state >= 0 && state <= 3 ? hooked->state_dc[state] : nullptr;
}

SIZE OuterSize(HWND window) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

std::wstring LowerClassName(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 255);
  return common::ToLowerAscii(name);
}

void BuildSkinAtlas() {
  const common::OwnedMemoryDc display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  g_engine.atlas_bitmap.reset(::CreateCompatibleBitmap(display.get(), kAtlasWidth, kAtlasHeight));
  g_engine.atlas.reset(::CreateCompatibleDC(display.get()));
  // All pixels in one call: pixel by pixel costs a round trip each under
  // Wine.
  const SkinAtlas& atlas = Atlas();
  std::vector<uint32_t> bgra(static_cast<size_t>(kAtlasWidth) * kAtlasHeight);
  for (int y = 0; y < kAtlasHeight; ++y)
    for (int x = 0; x < kAtlasWidth; ++x)
      bgra[static_cast<size_t>(y) * kAtlasWidth + x] = atlas.Pixel(x, y) & 0xFFFFFF;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kAtlasWidth;
  info.bmiHeader.biHeight = -kAtlasHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Before the bitmap is selected into its DC, as SetDIBits wants it.
  ::SetDIBits(display.get(), g_engine.atlas_bitmap.get(), 0, kAtlasHeight, bgra.data(), &info,
              DIB_RGB_COLORS);
  ::SelectObject(g_engine.atlas.get(), g_engine.atlas_bitmap.get());
  ++g_engine.atlas_builds;
}

void ReleaseAtlasIfUnused() {
  if (g_engine.skinned_buttons > 0 || g_engine.hooked_windows > 0)
    return;
  g_engine.atlas.reset();
  g_engine.atlas_bitmap.reset();
  g_engine.initialised = false;
}

void Initialise() {
  if (g_engine.initialised)
    return;
  g_engine.initialised = true;
  HMODULE user = ::GetModuleHandleW(L"user32.dll");
  if (!user)
    user = ::LoadLibraryW(L"user32.dll");
  auto track = user ? reinterpret_cast<BOOL(WINAPI*)(LPTRACKMOUSEEVENT)>(
                          ::GetProcAddress(user, "TrackMouseEvent"))
                    : nullptr;
  g_engine.uses_track_mouse_event = track != nullptr;
  g_engine.track = track ? track : &_TrackMouseEvent;
  BuildSkinAtlas();
}

ButtonSkin ReadSkin(HWND button) {
  const Hooked* hooked = Find(button);
  return hooked ? hooked->skin : ButtonSkin{};
}

// Only the values that changed are written to the properties.
void WriteSkin(HWND button, const ButtonSkin& skin) {
  Hooked* hooked = Find(button);
  if (!hooked)
    return;
  if (hooked->skin.state != skin.state)
    SetValue(button, kOldState, skin.state);
  if (hooked->skin.alpha != skin.alpha)
    SetValue(button, kAlphaLevel, skin.alpha);
  if (hooked->skin.mouse_flag != skin.mouse_flag)
    SetValue(button, kMouseFlag, skin.mouse_flag);
  hooked->skin = skin;
}

void StartFade(HWND button) {
  Hooked* hooked = Find(button);
  if (!hooked || hooked->timer != 0)
    return;
  const UINT_PTR id = ::SetTimer(button, 1, kFadeInterval, nullptr);
  hooked->timer = static_cast<INT_PTR>(id);
  SetValue(button, kTimerId, hooked->timer);
}

void StopFade(HWND button) {
  Hooked* hooked = Find(button);
  if (!hooked || hooked->timer == 0)
    return;
  const INT_PTR id = hooked->timer;
  hooked->timer = 0;
  SetValue(button, kTimerId, 0);
  ::KillTimer(button, static_cast<UINT_PTR>(id));
}

void TrackMouseLeave(HWND button) {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = button;
  track.dwHoverTime = 0;
  if (g_engine.track)
    g_engine.track(&track);
}

// Copies the image of a state onto the button at once.
void ShowStateImage(HWND button, int state) {
  const SIZE size = OuterSize(button);
  const common::WindowDc dc(button, common::DcArea::kWhole);
  ::BitBlt(dc.get(), 0, 0, size.cx, size.cy, StateDc(button, state), 0, 0, SRCCOPY);
}

void FadeStep(HWND button) {
  ButtonSkin skin = ReadSkin(button);
  const FadeTick tick = NextFadeTick(skin);
  const SIZE size = OuterSize(button);
  const common::WindowDc dc(button, common::DcArea::kWhole);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(tick.blend_alpha), 0};
  const int state = tick.state >= 0 && tick.state <= 3 ? tick.state : 0;
  // gdi32's own blend (msimg32's AlphaBlend only forwards to it, from
  // Windows 2000 on): one library less to load at every start.
  ::GdiAlphaBlend(dc.get(), 0, 0, size.cx, size.cy, StateDc(button, state), 0, 0, size.cx,
                  size.cy, blend);
  if (tick.last)
    StopFade(button);
  WriteSkin(button, skin);
}

void SetRoundRegion(HWND button, SIZE size) {
  // The corner ellipse grows with the corner blocks (skin_atlas.h).
  const int corner = 3 * common::WholeScale(common::ScreenDpi());
  common::OwnedRegion region(::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, corner, corner));
  // Once set, the region is the system's.
  if (::SetWindowRgn(button, region.get(), TRUE))
    region.release();
}

// Carries out what the state machine asks for after a message.
void React(HWND button, ButtonEvent event) {
  ButtonSkin skin = ReadSkin(button);
  const ButtonReaction r = ApplyButtonEvent(skin, event);
  WriteSkin(button, skin);
  if (r.track_leave)
    TrackMouseLeave(button);
  if (r.render_images)
    RenderStateImages(button);
  if (r.show_now)
    ShowStateImage(button, skin.state);
  if (r.start_fade)
    StartFade(button);
}

// Calls the procedure that was in place before, or the default one.
LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!previous)
    return ::DefWindowProcW(window, message, wparam, lparam);
  return ::CallWindowProcW(previous, window, message, wparam, lparam);
}

WNDPROC Previous(HWND window) {
  const Hooked* hooked = Find(window);
  return hooked ? hooked->previous : nullptr;
}

// The handler of a message may have released the button (or destroyed
// it); the state change only applies to a button that is still skinned.
bool StillSkinned(HWND button) {
  return ::IsWindow(button) && Previous(button) != nullptr;
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  const WNDPROC previous = Previous(button);
  if (!previous)
    return ::DefWindowProcW(button, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(button, &ps);
      const SIZE size = OuterSize(button);
      int state = ReadSkin(button).state;
      if (state < 0 || state > 3)
        state = 0;
      ::BitBlt(dc, 0, 0, size.cx, size.cy, StateDc(button, state), 0, 0, SRCCOPY);
      ::EndPaint(button, &ps);
      return 0;
    }
    case WM_DESTROY:
      ReleaseButton(button);
      // The button's own procedure still gets its WM_DESTROY, so that it
      // frees what it holds.
      return PassOn(previous, button, message, wparam, lparam);
    case WM_TIMER: {
      FadeStep(button);
      return PassOn(previous, button, message, wparam, lparam);
    }
    default:
      break;
  }

  const LRESULT result = PassOn(previous, button, message, wparam, lparam);
  if (!StillSkinned(button))
    return result;
  switch (message) {
    case WM_MOUSEMOVE:
      React(button, ButtonEvent::kMouseMove);
      break;
    case WM_LBUTTONDOWN:
      React(button, ButtonEvent::kLeftDown);
      break;
    case WM_LBUTTONUP:
      React(button, ButtonEvent::kLeftUp);
      break;
    case WM_MOUSELEAVE:
      React(button, ButtonEvent::kMouseLeave);
      break;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE)
        React(button, ButtonEvent::kSpaceDown);
      break;
    case WM_KEYUP:
      if (wparam == VK_SPACE)
        React(button, ButtonEvent::kSpaceUp);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      React(button, ButtonEvent::kFocusChanged);
      break;
    case WM_ENABLE:
      React(button, wparam ? ButtonEvent::kEnabled : ButtonEvent::kDisabled);
      break;
    case WM_SIZE: {
      const SIZE size = OuterSize(button);
      {
        const common::WindowDc window_dc(button, common::DcArea::kWhole);
        for (int s = 0; s < 4; ++s) {
          HBITMAP bitmap = ::CreateCompatibleBitmap(window_dc.get(), size.cx, size.cy);
          ::SelectObject(StateDc(button, s), bitmap);
          const std::wstring name = StateName(L"BMP", s);
          // The bitmap it replaces is no longer selected: it goes here.
          const common::OwnedBitmap replaced(static_cast<HBITMAP>(::GetPropW(button, name.c_str())));
          ::SetPropW(button, name.c_str(), bitmap);
        }
      }
      RenderStateImages(button);
      SetRoundRegion(button, size);
      break;
    }
    default:
      break;
  }
  return result;
}

LRESULT CALLBACK TopLevelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const WNDPROC previous = Previous(window);
  if (!previous)
    return ::DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_DESTROY) {
    UnhookWindow(window);
    return PassOn(previous, window, message, wparam, lparam);
  }
  if (message == WM_ACTIVATE) {
    HWND other = reinterpret_cast<HWND>(lparam);
    // Only windows of this program: another program's windows cannot be
    // taken over and are left alone.
    DWORD process = 0;
    if (other && other != window && ::GetWindowThreadProcessId(other, &process) &&
        process == ::GetCurrentProcessId() && IsTopLevelClass(LowerClassName(other).c_str())) {
      AttachSkin(other);
    }
  }
  return PassOn(previous, window, message, wparam, lparam);
}

LRESULT CALLBACK FramedProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const WNDPROC previous = Previous(control);
  if (!previous)
    return ::DefWindowProcW(control, message, wparam, lparam);
  if (message == WM_DESTROY) {
    UnhookFramedControl(control);
    return PassOn(previous, control, message, wparam, lparam);
  }
  if (message == WM_NCPAINT) {
    const LRESULT result = PassOn(previous, control, message, wparam, lparam);
    if (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
      DrawFlatFrame(control);
    return result;
  }
  return PassOn(previous, control, message, wparam, lparam);
}

WNDPROC ReplaceProc(HWND window, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// Puts the engine's procedure in place of the window's own and records the
// one it replaces, in the engine's table and as "PROCADDR".
void TakeOver(HWND window, Hooked& hooked, WNDPROC proc) {
  hooked.previous = ReplaceProc(window, proc);
  ::SetPropW(window, kProcAddr, reinterpret_cast<HANDLE>(hooked.previous));
}

// Gives the window its own procedure back and forgets it.
void GiveBack(HWND window, WNDPROC previous) {
  ::RemovePropW(window, kProcAddr);
  ReplaceProc(window, previous);
  HookedWindows().erase(window);
}

// A "button" class window that is a push button. Check boxes, option
// buttons and group boxes share the class but keep their own look: a face
// in place of a check box would hide its check mark.
bool IsPushButton(HWND window) {
  const LONG type = ::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool IsSkinnableButton(HWND window) {
  const std::wstring name = LowerClassName(window);
  if (!IsButtonClass(name.c_str()))
    return false;
  return name != L"button" || IsPushButton(window);
}

BOOL CALLBACK AttachChild(HWND child, LPARAM) {
  if (IsSkinnableButton(child)) {
    SkinButton(child);
  } else {
    HookFramedControl(child);
  }
  return TRUE;  // always on to the end
}

}  // namespace

INT_PTR PropValue(HWND window, const wchar_t* name) {
  return reinterpret_cast<INT_PTR>(::GetPropW(window, name));
}

bool IsButtonClass(const wchar_t* name) {
  return !std::wcscmp(name, L"thundercommandbutton") ||
         !std::wcscmp(name, L"thunderrt6commandbutton") || !std::wcscmp(name, L"button");
}

bool IsTopLevelClass(const wchar_t* name) {
  return !std::wcscmp(name, L"#32770") || !std::wcscmp(name, L"thunderformdc") ||
         !std::wcscmp(name, L"thunderrt6formdc") || !std::wcscmp(name, L"form") ||
         !std::wcscmp(name, L"tovrixform");
}

SkinEngineState SkinEngine() {
  return {g_engine.initialised,     g_engine.uses_track_mouse_event,
          g_engine.skinned_buttons, g_engine.hooked_windows,
          g_engine.atlas.get(),     g_engine.atlas_builds};
}

void AttachSkin(HWND window) {
  if (!::IsWindow(window))
    return;
  Initialise();
  const std::wstring name = LowerClassName(window);
  if (IsButtonClass(name.c_str())) {
    if (IsSkinnableButton(window))
      SkinButton(window);
    return;
  }
  if (IsTopLevelClass(name.c_str())) {
    ::EnumChildWindows(window, AttachChild, 0);
    HookWindow(window);
  }
  // If nothing was taken over, the engine goes back to its rest.
  ReleaseAtlasIfUnused();
}

bool SkinButton(HWND button) {
  if (Find(button))
    return false;
  Initialise();
  Hooked& hooked = HookedWindows()[button];
  const SIZE size = OuterSize(button);
  const common::WindowDc window_dc(button, common::DcArea::kWhole);
  for (int s = 0; s < 4; ++s) {
    HDC dc = ::CreateCompatibleDC(window_dc.get());
    HBITMAP bitmap = ::CreateCompatibleBitmap(window_dc.get(), size.cx, size.cy);
    // The surface's initial bitmap is the stock one: nothing to release.
    ::SelectObject(dc, bitmap);
    hooked.state_dc[s] = dc;
    ::SetPropW(button, StateName(L"HDC", s).c_str(), dc);
    ::SetPropW(button, StateName(L"BMP", s).c_str(), bitmap);
  }
  RenderStateImages(button);
  ::SendMessageW(button, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
  hooked.skin.state = ::IsWindowEnabled(button) ? kNormal : kDisabled;
  SetValue(button, kMouseFlag, 0);
  SetValue(button, kTimerId, 0);
  SetValue(button, kOldState, hooked.skin.state);
  SetValue(button, kAlphaLevel, 0);
  SetRoundRegion(button, size);
  TakeOver(button, hooked, ButtonProc);
  ++g_engine.skinned_buttons;
  ::InvalidateRect(button, nullptr, FALSE);
  return true;
}

bool ReleaseButton(HWND button) {
  const WNDPROC previous = Previous(button);
  if (!previous)
    return false;
  for (int s = 0; s < 4; ++s) {
    const std::wstring dc_name = StateName(L"HDC", s), bmp_name = StateName(L"BMP", s);
    // The properties give their handles up; the DC goes before its bitmap.
    const common::OwnedBitmap bitmap(static_cast<HBITMAP>(::RemovePropW(button, bmp_name.c_str())));
    const common::OwnedMemoryDc dc(static_cast<HDC>(::RemovePropW(button, dc_name.c_str())));
  }
  StopFade(button);
  for (const wchar_t* name : {kMouseFlag, kTimerId, kOldState, kAlphaLevel})
    ::RemovePropW(button, name);
  // Bits 0, 1 and 3 make the owner-drawn type; without them it is a push
  // button again.
  const LONG style = ::GetWindowLongW(button, GWL_STYLE);
  ::SetWindowLongW(button, GWL_STYLE, style & ~0xB);
  ::SetWindowRgn(button, nullptr, TRUE);
  GiveBack(button, previous);
  ::InvalidateRect(button, nullptr, TRUE);
  --g_engine.skinned_buttons;
  ReleaseAtlasIfUnused();
  return true;
}

bool HookWindow(HWND window) {
  if (Find(window))
    return false;
  TakeOver(window, HookedWindows()[window], TopLevelProc);
  ++g_engine.hooked_windows;
  return true;
}

bool UnhookWindow(HWND window) {
  const WNDPROC previous = Previous(window);
  if (!previous)
    return false;
  GiveBack(window, previous);
  --g_engine.hooked_windows;
  ReleaseAtlasIfUnused();
  return true;
}

bool HookFramedControl(HWND control) {
  if (Find(control))
    return false;
  TakeOver(control, HookedWindows()[control], FramedProc);
  // The flat frame shows at once; a control not on the screen yet (a
  // window attached while it loads, before it is shown) gets it with its
  // first painting, and is spared a painting nobody sees (under Wine about
  // a millisecond a control, at every start).
  if (::IsWindowVisible(control))
    ::SendMessageW(control, WM_NCPAINT, 1, 0);
  return true;
}

bool UnhookFramedControl(HWND control) {
  const WNDPROC previous = Previous(control);
  if (!previous)
    return false;
  GiveBack(control, previous);
  ::SendMessageW(control, WM_NCPAINT, 1, 0);
  return true;
}

void RenderStateImages(HWND button) {
  if (!g_engine.atlas)
    return;
  const SIZE size = OuterSize(button);
  const int w = size.cx, h = size.cy;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));
  const int length = ::GetWindowTextLengthW(button);
  std::wstring caption(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = ::GetWindowTextW(button, caption.data(), length + 1);
  caption.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  const bool focused = ::GetFocus() == button;
  const int whole = common::WholeScale(common::ScreenDpi());
  for (int s = 0; s < 4; ++s) {
    HDC dc = StateDc(button, s);
    if (!dc)
      continue;
    if (font)
      ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    for (const Band& b : FaceBands(w, h, s, whole)) {
      if (b.dw == b.sw && b.dh == b.sh) {
        ::BitBlt(dc, b.dx, b.dy, b.dw, b.dh, g_engine.atlas.get(), b.sx, b.sy, SRCCOPY);
      } else {
        ::StretchBlt(dc, b.dx, b.dy, b.dw, b.dh, g_engine.atlas.get(), b.sx, b.sy, b.sw, b.sh,
                     SRCCOPY);
      }
    }
    ::SetTextColor(dc, s == kDisabled ? RGB(128, 128, 128) : RGB(0, 0, 0));
    RECT text = {2 * whole, 2 * whole, w - 2 * whole, h - 2 * whole};
    if (text.right > text.left && text.bottom > text.top) {
      ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, kCaptionFlags);
      if (focused)
        ::DrawFocusRect(dc, &text);
    }
  }
}

void SetButtonCaption(HWND button, const std::wstring& caption) {
  wchar_t current[256] = {};
  ::GetWindowTextW(button, current, 256);
  if (caption == current)
    return;
  ::SetWindowTextW(button, caption.c_str());
  if (Find(button)) {
    RenderStateImages(button);
    ::InvalidateRect(button, nullptr, FALSE);
  }
}

void DrawFlatFrame(HWND control) {
  const SIZE size = OuterSize(control);
  const common::WindowDc dc(control, common::DcArea::kWhole);
  if (!dc.get())
    return;
  const COLORREF outer = ::IsWindowEnabled(control) ? RGB(0x54, 0xA5, 0xD5) : RGB(0xCC, 0xCC, 0xCC);
  RECT r = {0, 0, size.cx, size.cy};
  ::FrameRect(dc.get(), &r, common::OwnedBrush(::CreateSolidBrush(outer)).get());
  COLORREF background = RGB(255, 255, 255);
  if (const common::WindowDc client(control); client.get())
    background = ::GetBkColor(client.get());
  for (int inset = 1; inset <= 2; ++inset) {
    RECT inner = {inset, inset, size.cx - inset, size.cy - inset};
    if (inner.right <= inner.left || inner.bottom <= inner.top)
      break;
    ::FrameRect(dc.get(), &inner, common::OwnedBrush(::CreateSolidBrush(background)).get());
  }
}

}  // namespace look
