#include "tray/tray_presence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tray {
namespace {

// A shell whose taskbar can go and come back: a new taskbar starts empty,
// an icon cannot be added twice, and nothing is added while there is no
// taskbar.
class FakeShell : public NotifyAreaPort {
 public:
  bool AddIcon() override {
    if (!taskbar || icon)
      return false;
    icon = true;
    return true;
  }
  bool ModifyIcon() override { return taskbar && icon; }
  void RemoveIcon() override { icon = false; }

  bool taskbar = true;
  bool icon = false;
};

TEST(TrayPresenceTest, TheBoxHidesOnlyWhileItsIconIsThere) {
  // Steps: "start" and "created" add the icon (start-up, "TaskbarCreated"),
  // "min" asks whether minimising may hide the box, "gone" ends the
  // taskbar with its icons, "back" brings an empty taskbar; "remove" is
  // the shut-down. Each step that answers is followed by its answer.
  struct Step {
    const char* event;
    bool answer;
  };
  const struct {
    const char* name;
    bool taskbar_at_start;
    std::vector<Step> steps;
  } cases[] = {
      {"a taskbar from the start", true, {{"start", true}, {"min", true}, {"min", true}}},
      {"started before the taskbar",
       false,
       {{"start", false}, {"min", false}, {"back", false}, {"created", true}, {"min", true}}},
      {"the taskbar restarts",
       true,
       {{"start", true},
        {"gone", false},
        {"min", false},
        {"back", false},
        {"created", true},
        {"min", true}}},
      // A restart whose announcement never came: the minimise finds the
      // icon gone and adds it again.
      {"no announcement", true, {{"start", true}, {"gone", false}, {"back", false}, {"min", true}}},
      // Announced again without losing the icon: the add is refused, the
      // icon is there all the same.
      {"announced twice", true, {{"start", true}, {"created", true}, {"min", true}}},
      {"shut down", true, {{"start", true}, {"remove", false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeShell shell;
    shell.taskbar = c.taskbar_at_start;
    TrayPresence presence(&shell);
    for (const Step& step : c.steps) {
      const std::string event = step.event;
      bool answer = false;
      if (event == "start" || event == "created") {
        answer = presence.Add();
      } else if (event == "min") {
        answer = presence.MayHide();
      } else if (event == "gone") {
        shell.taskbar = shell.icon = false;
        continue;
      } else if (event == "back") {
        shell.taskbar = true;
        continue;
      } else if (event == "remove") {
        presence.Remove();
        answer = presence.present();
      }
      EXPECT_EQ(answer, step.answer) << event;
      // What the box believes is what the shell has.
      EXPECT_EQ(presence.present(), shell.icon) << event;
    }
  }
}

}  // namespace
}  // namespace tray
