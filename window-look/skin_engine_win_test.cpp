#include "window-look/skin_engine_win.h"

#include <gtest/gtest.h>

#include <set>

#include <memory>

#include "common/window_win.h"
#include "testing/win_test_support_win.h"
#include "window-look/chrome_win.h"

namespace look {
namespace {

using testing_support::PumpFor;
using testing_support::PumpUntil;

class TestForm : public common::Window {
 public:
  TestForm() {
    Create(kFormClass, L"skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 20, 20, 400, 300,
           nullptr);
  }
  HWND AddButton(const wchar_t* caption, int x, int y, int w, int h, DWORD style = 0) {
    return ::CreateWindowExW(0, L"Button", caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                             hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
};

HWND MakeEdit(HWND parent) {
  return ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"text", WS_CHILD | WS_VISIBLE, 10, 200, 150,
                           24, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// The first window, button, edit and message box of a process fill caches
// of the system (fonts, brushes, icons) that stay; one round of everything
// before the first count keeps those out of the leak checks.
void WarmUpOnce() {
  static bool done = false;
  if (done)
    return;
  done = true;
  {
    TestForm form;
    form.AddButton(L"预热", 10, 10, 75, 25);
    form.AddButton(L"框", 10, 50, 75, 25, BS_AUTOCHECKBOX);
    MakeEdit(form.hwnd());
    AttachSkin(form.hwnd());
    testing_support::MessageBoxAnswerer answerer;
    ::MessageBoxW(form.hwnd(), L"预热", L"提示", MB_OKCANCEL | MB_ICONINFORMATION);
    ::MessageBoxW(form.hwnd(), L"预热", L"提示", MB_OK | MB_ICONQUESTION);
    ::SendMessageW(::GetWindow(form.hwnd(), GW_CHILD), WM_SETFOCUS, 0, 0);
    PumpFor(50);
  }
  PumpFor(50);
}

// Each test has a form of its own; once the form is gone the engine is at
// rest again and every drawing object it made is gone.
class SkinEngineWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WarmUpOnce();
    ASSERT_FALSE(SkinEngine().initialised) << "a previous test left the engine busy";
    gdi_before_ = testing_support::GdiObjectCount();
    form_ = std::make_unique<TestForm>();
  }
  void TearDown() override {
    form_.reset();
    PumpFor(50);
    EXPECT_FALSE(SkinEngine().initialised);
    EXPECT_EQ(SkinEngine().skinned_buttons, 0);
    EXPECT_EQ(SkinEngine().hooked_windows, 0);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi_before_);
  }
  // A button of the usual size at the form's top left, the form skinned.
  HWND SkinnedButton(const wchar_t* caption) {
    HWND b = form_->AddButton(caption, 10, 10, 75, 25);
    AttachSkin(form_->hwnd());
    return b;
  }
  std::unique_ptr<TestForm> form_;
  DWORD gdi_before_ = 0;
};

TEST_F(SkinEngineWinTest, PropertiesAfterAttach) {
  HWND ok = form_->AddButton(L"开始清理", 10, 10, 75, 25);
  HWND off = form_->AddButton(L"停止", 100, 10, 75, 25);
  ::EnableWindow(off, FALSE);
  HWND box = form_->AddButton(L"回收站", 10, 50, 100, 20, BS_AUTOCHECKBOX);
  AttachSkin(form_->hwnd());

  EXPECT_TRUE(SkinEngine().initialised);
  EXPECT_EQ(SkinEngine().skinned_buttons, 2);
  EXPECT_EQ(SkinEngine().hooked_windows, 1);
  for (const wchar_t* name :
       {L"PROCADDR", L"HDC0", L"HDC1", L"HDC2", L"HDC3", L"BMP0", L"BMP1", L"BMP2", L"BMP3"}) {
    EXPECT_NE(::GetPropW(ok, name), nullptr) << name;
  }
  for (const wchar_t* name : {L"OLDSTATE", L"ALPHALEVEL", L"MOUSEFLAG", L"TIMERID"})
    EXPECT_EQ(PropValue(ok, name), 0) << name;
  EXPECT_EQ(PropValue(off, L"OLDSTATE"), 3);
  EXPECT_EQ(::GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  // The check box keeps its own look; it is only hooked for the frame.
  EXPECT_EQ(::GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(::GetPropW(box, L"HDC0"), nullptr);
  EXPECT_NE(::GetPropW(form_->hwnd(), L"PROCADDR"), nullptr);

  // Attaching again changes no count and stacks nothing.
  const LONG_PTR proc = ::GetWindowLongPtrW(ok, GWLP_WNDPROC);
  AttachSkin(form_->hwnd());
  EXPECT_EQ(SkinEngine().skinned_buttons, 2);
  EXPECT_EQ(SkinEngine().hooked_windows, 1);
  EXPECT_EQ(::GetWindowLongPtrW(ok, GWLP_WNDPROC), proc);

  // A button made after the attach is taken over at the next attach.
  HWND late = form_->AddButton(L"退出(&C)", 200, 10, 75, 25);
  EXPECT_EQ(::GetPropW(late, L"PROCADDR"), nullptr);
  AttachSkin(form_->hwnd());
  EXPECT_NE(::GetPropW(late, L"PROCADDR"), nullptr);
  EXPECT_EQ(SkinEngine().skinned_buttons, 3);
}

TEST_F(SkinEngineWinTest, MessagesDriveStateAndFadeEnds) {
  HWND b = SkinnedButton(L"确 定");
  struct Step {
    UINT message;
    WPARAM wparam;
    int state, alpha;
  };
  const Step steps[] = {
      {WM_MOUSEMOVE, 0, 1, 70},   {WM_LBUTTONDOWN, MK_LBUTTON, 2, 10},
      {WM_LBUTTONUP, 0, 0, 0},    {WM_MOUSEMOVE, 0, 1, 70},
      {WM_MOUSELEAVE, 0, 0, 0},   {WM_KEYDOWN, VK_SPACE, 2, 50},
      {WM_KEYUP, VK_SPACE, 0, 0}, {WM_KEYDOWN, 'A', 0, 0},
  };
  for (const Step& s : steps) {
    ::SendMessageW(b, s.message, s.wparam, 0);
    EXPECT_EQ(PropValue(b, L"OLDSTATE"), s.state) << s.message;
    EXPECT_EQ(PropValue(b, L"ALPHALEVEL"), s.alpha) << s.message;
  }
  EXPECT_NE(PropValue(b, L"TIMERID"), 0);
  // From 0 the fade takes 86 ticks of 15 ms.
  EXPECT_TRUE(PumpUntil([&] { return PropValue(b, L"TIMERID") == 0; }, 5000));
  EXPECT_EQ(PropValue(b, L"ALPHALEVEL"), 0);

  ::EnableWindow(b, FALSE);
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 3);
  ::EnableWindow(b, TRUE);
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 0);
}

// The engine keeps its own copy of the button's values; every tick and
// every state change must still reach the properties, and a button given
// back and taken over again starts from its properties anew.
TEST_F(SkinEngineWinTest, FadeTicksAndStateChangesReachTheProperties) {
  HWND b = SkinnedButton(L"确 定");
  const LONG_PTR skinned_proc = ::GetWindowLongPtrW(b, GWLP_WNDPROC);
  ::SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  const INT_PTR timer = PropValue(b, L"TIMERID");
  ASSERT_NE(timer, 0);
  struct Tick {
    int ticks;  // timer messages sent so far
    int alpha;
    bool running;
  };
  const Tick ticks[] = {
      {1, 13, true}, {2, 16, true}, {40, 130, true}, {81, 253, true}, {82, 0, false}};
  int sent = 0;
  for (const Tick& t : ticks) {
    for (; sent < t.ticks; ++sent)
      ::SendMessageW(b, WM_TIMER, 1, 0);
    EXPECT_EQ(PropValue(b, L"ALPHALEVEL"), t.alpha) << t.ticks;
    EXPECT_EQ(PropValue(b, L"TIMERID") != 0, t.running) << t.ticks;
    EXPECT_EQ(PropValue(b, L"OLDSTATE"), 2) << t.ticks;
  }
  // A new fade starts a new timer.
  ::SendMessageW(b, WM_LBUTTONUP, 0, 0);
  EXPECT_NE(PropValue(b, L"TIMERID"), 0);
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 0);

  ASSERT_TRUE(ReleaseButton(b));
  for (const wchar_t* name : {L"PROCADDR", L"OLDSTATE", L"ALPHALEVEL", L"TIMERID", L"HDC0"})
    EXPECT_EQ(::GetPropW(b, name), nullptr) << name;
  EXPECT_NE(::GetWindowLongPtrW(b, GWLP_WNDPROC), skinned_proc);
  // Given back, the button's messages are its own again.
  ::SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(::GetPropW(b, L"OLDSTATE"), nullptr);
  ::SendMessageW(b, WM_LBUTTONUP, 0, 0);

  ::EnableWindow(b, FALSE);
  ASSERT_TRUE(SkinButton(b));
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 3);
  EXPECT_EQ(PropValue(b, L"TIMERID"), 0);
  ::EnableWindow(b, TRUE);
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 0);
  ::SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(PropValue(b, L"OLDSTATE"), 1);
  EXPECT_EQ(PropValue(b, L"ALPHALEVEL"), 70);
}

TEST_F(SkinEngineWinTest, ResizeKeepsRoundedRegionAndImages) {
  HWND b = SkinnedButton(L"开始清理");
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(b, region), ERROR);
  RECT box;
  ::GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 75);
  EXPECT_EQ(box.bottom, 25);
  ::SetWindowPos(b, nullptr, 0, 0, 120, 40, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(::GetWindowRgn(b, region), ERROR);
  ::GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 120);
  EXPECT_EQ(box.bottom, 40);
  ::DeleteObject(region);
  BITMAP info = {};
  ::GetObjectW(::GetPropW(b, L"BMP2"), sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 120);
  EXPECT_EQ(info.bmHeight, 40);
  // Tiny and huge buttons, empty and very long captions: nothing breaks.
  HWND tiny = form_->AddButton(L"", 0, 0, 3, 4);
  HWND wordy = form_->AddButton(std::wstring(2000, L'长').c_str(), 0, 100, 40, 20);
  AttachSkin(form_->hwnd());
  ::SetWindowPos(tiny, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
  ::SendMessageW(wordy, WM_SETFOCUS, 0, 0);
  ::InvalidateRect(form_->hwnd(), nullptr, TRUE);
  PumpFor(50);
  // Buttons can go before their window does.
  ::DestroyWindow(tiny);
  ::DestroyWindow(b);
  EXPECT_EQ(SkinEngine().skinned_buttons, 1);
}

TEST_F(SkinEngineWinTest, MessageBoxOfTheWindowGetsSkinnedButtons) {
  SkinnedButton(L"开始清理");
  HWND b = ::GetWindow(form_->hwnd(), GW_CHILD);
  ::SendMessageW(b, WM_MOUSEMOVE, 0, 0);  // a fade runs while the box opens
  testing_support::MessageBoxAnswerer answerer;
  INT_PTR ok_proc = 0, cancel_proc = 0;
  int counted = 0;
  answerer.on_box = [&](HWND box) {
    ok_proc = PropValue(::GetDlgItem(box, IDOK), L"PROCADDR");
    cancel_proc = PropValue(::GetDlgItem(box, IDCANCEL), L"PROCADDR");
    counted = SkinEngine().skinned_buttons;
  };
  answerer.QueueAnswer(IDCANCEL);
  EXPECT_EQ(::MessageBoxW(form_->hwnd(), L"正在搜索你确定要终止吗？", L"提示",
                          MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2),
            IDCANCEL);
  EXPECT_NE(ok_proc, 0);
  EXPECT_NE(cancel_proc, 0);
  EXPECT_EQ(counted, 3);
  PumpFor(30);
  EXPECT_EQ(SkinEngine().skinned_buttons, 1);
  EXPECT_EQ(SkinEngine().hooked_windows, 1);
}

TEST_F(SkinEngineWinTest, EngineReturnsToRestAndRebuildsAtlas) {
  const int builds = SkinEngine().atlas_builds;
  SkinnedButton(L"a");
  EXPECT_EQ(SkinEngine().atlas_builds, builds + 1);
  form_.reset();
  EXPECT_FALSE(SkinEngine().initialised);
  EXPECT_EQ(SkinEngine().atlas, nullptr);
  form_ = std::make_unique<TestForm>();
  SkinnedButton(L"b");
  EXPECT_EQ(SkinEngine().atlas_builds, builds + 2);
  EXPECT_NE(SkinEngine().atlas, nullptr);
}

TEST_F(SkinEngineWinTest, FlatFrameBlueWhenEnabledGreyWhenDisabled) {
  HWND edit = MakeEdit(form_->hwnd());
  AttachSkin(form_->hwnd());
  PumpFor(30);
  auto corner = [&] {
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = ::GetWindowDC(edit);
    const COLORREF c = ::GetPixel(dc, 0, 0);
    const COLORREF mid = ::GetPixel(dc, 40, 0);
    ::ReleaseDC(edit, dc);
    EXPECT_EQ(c, mid);
    return c;
  };
  EXPECT_EQ(corner(), RGB(0x54, 0xA5, 0xD5));
  ::EnableWindow(edit, FALSE);
  EXPECT_EQ(corner(), RGB(0xCC, 0xCC, 0xCC));
}

TEST_F(SkinEngineWinTest, DestroyingInAnyOrder) {
  HWND a = form_->AddButton(L"a", 10, 10, 75, 25);
  HWND edit = MakeEdit(form_->hwnd());
  AttachSkin(form_->hwnd());
  ::DestroyWindow(edit);
  ::DestroyWindow(a);
  EXPECT_EQ(SkinEngine().skinned_buttons, 0);
  EXPECT_TRUE(SkinEngine().initialised);  // the window is still hooked
}

// A form of WIDTH by HEIGHT with its chrome, the buttons at the top right.
struct ChromeForm : common::Window {
  ChromeForm(int width, int height, BackgroundStyle style) {
    Create(kFormClass, L"chrome", WS_POPUP | WS_VISIBLE, 0, 0, 0, width, height, nullptr);
    WindowChrome::Layout layout;
    layout.width = width;
    layout.height = height;
    layout.style = style;
    layout.minimise = {width - 58, 4};
    layout.close = {width - 30, 4};
    chrome.Create(hwnd(), layout);
  }
  WindowChrome chrome;
};

TEST(ChromeWinTest, PicturesRsAndClicks) {
  ChromeForm form(340, 100, BackgroundStyle::kStrip);
  WindowChrome& chrome = form.chrome;
  int closes = 0, minimises = 0;
  chrome.on_close = [&] { ++closes; };
  chrome.on_minimise = [&] { ++minimises; };

  auto image_of = [](HWND w) {
    return reinterpret_cast<HBITMAP>(::SendMessageW(w, STM_GETIMAGE, IMAGE_BITMAP, 0));
  };
  EXPECT_EQ(common::WindowText(chrome.close_button()), L"close1");
  EXPECT_EQ(common::WindowText(chrome.minimise_button()), L"mini");
  // Six different pictures, the normal ones shown at first.
  std::set<HBITMAP> pictures;
  for (ChromeButton b : {ChromeButton::kClose, ChromeButton::kMinimise})
    for (ChromeState st : {ChromeState::kNormal, ChromeState::kHover, ChromeState::kPressed})
      pictures.insert(chrome.picture(b, st));
  EXPECT_EQ(pictures.size(), 6u);
  EXPECT_EQ(pictures.count(nullptr), 0u);
  EXPECT_EQ(image_of(chrome.close_button()),
            chrome.picture(ChromeButton::kClose, ChromeState::kNormal));

  ::SendMessageW(chrome.close_button(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(image_of(chrome.close_button()),
            chrome.picture(ChromeButton::kClose, ChromeState::kHover));
  ::SendMessageW(chrome.minimise_button(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(chrome.Shown(ChromeButton::kMinimise), ChromeState::kPressed);
  EXPECT_EQ(image_of(chrome.minimise_button()),
            chrome.picture(ChromeButton::kMinimise, ChromeState::kPressed));
  chrome.RS();
  EXPECT_EQ(image_of(chrome.close_button()),
            chrome.picture(ChromeButton::kClose, ChromeState::kNormal));
  EXPECT_EQ(image_of(chrome.minimise_button()),
            chrome.picture(ChromeButton::kMinimise, ChromeState::kNormal));

  // A click is a press and a release over the button.
  ::SendMessageW(chrome.close_button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(chrome.close_button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ::SendMessageW(chrome.minimise_button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(chrome.minimise_button(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));  // left it
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(minimises, 0);
  EXPECT_EQ(chrome.Shown(ChromeButton::kClose), ChromeState::kPressed);
}

// The leak checks above stand on the platform's count of GDI objects.
// Picture1 paints the background that the chrome draws, pixel for pixel,
// into its own DC and into the DC of a control that asks for its parent's
// background (the viewport moved to the parent's origin), for both styles.
TEST(ChromeWinTest, Picture1PaintsTheBackgroundExactly) {
  for (BackgroundStyle style : {BackgroundStyle::kPanel, BackgroundStyle::kStrip}) {
    ChromeForm form(300, 200, style);  // a title of 30 pixels
    WindowChrome& chrome = form.chrome;
    const Picture expected = DrawBackground(300, 200, style, 30);

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 200);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (const POINT shift : {POINT{0, 0}, POINT{50, 40}}) {
      ::SetViewportOrgEx(dc, -shift.x, -shift.y, nullptr);
      ::SendMessageW(chrome.picture(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
      ::SetViewportOrgEx(dc, 0, 0, nullptr);
      for (const POINT at :
           {POINT{0, 0}, POINT{0, 100}, POINT{299, 150}, POINT{150, 0}, POINT{150, 1},
            POINT{150, 29}, POINT{150, 30}, POINT{100, 120}, POINT{200, 199}}) {
        if (at.x < shift.x || at.y < shift.y)
          continue;
        const COLORREF shown = ::GetPixel(dc, at.x - shift.x, at.y - shift.y);
        const Rgb want = expected.At(at.x, at.y);
        EXPECT_EQ(shown, RGB((want >> 16) & 0xFF, (want >> 8) & 0xFF, want & 0xFF))
            << "style " << static_cast<int>(style) << " at " << at.x << "," << at.y << " shift "
            << shift.x;
      }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
}

TEST(GdiCountTest, CountFollowsObjects) {
  const DWORD before = testing_support::GdiObjectCount();
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  HDC dc = ::CreateCompatibleDC(nullptr);
  EXPECT_EQ(testing_support::GdiObjectCount(), before + 2);
  ::DeleteDC(dc);
  ::DeleteObject(brush);
  EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

}  // namespace
}  // namespace look
