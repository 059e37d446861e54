// What both cleaners' main windows (frmMain) share: the borderless frame
// with its title, the start, stop and invisible exit buttons, the hidden
// run target, the result list and status bar, the Escape key, message
// boxes and the end of the program. Each cleaner adds its own boxes.
#ifndef CLEANER_ENGINE_CLEANER_WINDOW_WIN_H_
#define CLEANER_ENGINE_CLEANER_WINDOW_WIN_H_

#include <functional>

#include "cleaner-engine/engine_ports.h"
#include "cleaner-engine/engine_ports_win.h"
#include "common/owned_win.h"
#include "common/window_win.h"
#include "window-look/chrome_win.h"

namespace engine {

class CleanerWindow : public common::Window,
                      public virtual RunDisplay,
                      public virtual CleanerButtons {
 public:
  struct Frame {
    const wchar_t* title;       // the title line ("临时文件清理 - Tovrix")
    // The client size and lstMsg's place, in pixels of the usual display
    // (scaled to the display's density when the window is made).
    int width, height;
    RECT list;
    // junksweep: the title and its icon are drag handles too.
    bool title_drags = false;
  };

  // Control ids every cleaner window uses; the cleaners number theirs
  // below 500.
  enum : int {
    kSearchId = 500,
    kStopId,
    kExitId,
    kTargetId,
    kListId,
    kStatusId,
    kTitleId,
    kImageId
  };

  CleanerWindow();
  ~CleanerWindow() override;

  // What ends the program: ExitProcess, unless a test puts in its own.
  std::function<void()> exit_action;
  HWND cmdSearch() const { return search_; }
  HWND cmdStop() const { return stop_; }
  HWND cmdExit() const { return exit_; }
  HWND textPath() const { return target_; }
  HWND title() const { return title_; }
  HWND image() const { return image_; }
  ResultList& results() { return results_; }
  look::WindowChrome& chrome() { return chrome_; }

  bool PreTranslateMessage(MSG& msg) override;

  // RunDisplay: the result list, the progress text and message boxes.
  void ClearRows() override { results_.ClearRows(); }
  void AddRow(const std::wstring& item,
              const std::wstring& size,
              const std::wstring& status) override {
    results_.AddRow(item, size, status);
  }
  int RowCount() override { return results_.RowCount(); }
  void SetProgress(const std::wstring& text) override { results_.SetProgress(text); }
  void SetFreed(uint64_t bytes) override { results_.SetFreed(bytes); }
  void Yield() override { results_.Yield(); }
  common::MessageResult ShowMessage(const std::wstring& text,
                                    const std::wstring& title,
                                    common::MessageIcon icon,
                                    common::MessageButtons buttons) override;

  // CleanerButtons. The Escape key is handled by the window logic, which
  // knows the cancel button.
  void SetEnabled(CleanerControl control, bool enabled) override;
  void SetCancelButton(CleanerControl) override {}

 protected:
  // Creates the window (caption "临时文件清除工具"), the frame and the shared
  // controls, centred on the work area, not yet shown.
  bool CreateFrame(const Frame& frame);
  // A child of Picture1 at a pixel rectangle, in the window's font.
  HWND Make(int id,
            const wchar_t* cls,
            const wchar_t* text,
            DWORD style,
            int x,
            int y,
            int w,
            int h,
            HFONT font = nullptr);
  // The group box whose caption gets a solid background.
  void SetFrameBox(HWND box) { frame_box_ = box; }
  void Show();

  void FocusControl(CleanerControl control);
  void EndProgram();

  // The cleaner's own handling.
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual void OnEscape() = 0;
  virtual void OnCloseRequest() = 0;
  // Other messages; return true when handled.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    return false;
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  common::OwnedFont font_;
  common::OwnedFont title_font_;
  HICON icon_ = nullptr;
  look::WindowChrome chrome_;
  ResultList results_;

 private:
  HWND title_ = nullptr, image_ = nullptr, search_ = nullptr, stop_ = nullptr;
  HWND exit_ = nullptr, target_ = nullptr, frame_box_ = nullptr;
};

}  // namespace engine

#endif  // CLEANER_ENGINE_CLEANER_WINDOW_WIN_H_
