// Whether the command box's icon is in the notification area, and so
// whether minimising may hide the box. The icon goes when the shell's
// taskbar goes (Explorer ends or restarts: the new taskbar starts empty),
// and it is not there at all when the first add came before the taskbar
// was ready (a start from the Run key at log-on). While it is missing, a
// hidden box could not be reached again, so the box then stays minimised
// on the taskbar instead.
#ifndef TRAY_TRAY_PRESENCE_H_
#define TRAY_TRAY_PRESENCE_H_

namespace tray {

// The shell's notification area, for the one icon of the command box
// (window, uID 1).
class NotifyAreaPort {
 public:
  virtual ~NotifyAreaPort() = default;
  // NIM_ADD: false when the shell has no taskbar ready, or already has
  // an icon of this window and id.
  virtual bool AddIcon() = 0;
  // NIM_MODIFY with the same record: false when the shell has no such
  // icon (it lost it with its taskbar).
  virtual bool ModifyIcon() = 0;
  // NIM_DELETE.
  virtual void RemoveIcon() = 0;
};

class TrayPresence {
 public:
  explicit TrayPresence(NotifyAreaPort* area) : area_(area) {}

  void set_area(NotifyAreaPort* area) { area_ = area; }

  // At start-up and whenever a taskbar announces itself ("TaskbarCreated"):
  // the icon is added; a taskbar that announces itself again without
  // having lost it (Windows does so when the taskbar's density changes)
  // refuses the add but still has it. Returns whether it is there.
  bool Add();
  // When the box is minimised: whether it may hide. The shell is asked
  // whether it still has the icon, and given it again when it lost it, so
  // a box is never hidden without a way back.
  bool MayHide();
  void Remove();

  bool present() const { return present_; }

 private:
  NotifyAreaPort* area_;
  bool present_ = false;
};

}  // namespace tray

#endif  // TRAY_TRAY_PRESENCE_H_
