// A recording stand-in for the command box's window, player and platform.
#ifndef TESTING_FAKE_COMMAND_BOX_HOST_H_
#define TESTING_FAKE_COMMAND_BOX_HOST_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "command-box/command_box_ports.h"
#include "common/text_rules.h"
#include "testing/fake_profile.h"
#include "testing/fake_start_port.h"

namespace testing_support {

class FakePlayer : public commandbox::PlayerPort {
 public:
  void Show() override {
    exists = true;
    shown = true;
    events.push_back(L"show");
  }
  void EnsureCreated() override {
    if (!exists)
      events.push_back(L"create");
    exists = true;
  }
  void LoadLyrics(const std::wstring& stem) override { events.push_back(L"lyrics:" + stem); }
  void ClearLyricList() override { events.push_back(L"clear-list"); }
  void EnableDeferredRefresh() override { events.push_back(L"deferred-refresh"); }
  std::wstring URL() override { return url; }
  void SetURL(const std::wstring& value) override {
    url = value;
    events.push_back(L"url:" + value);
  }
  std::wstring CurrentMediaInfo(const std::wstring& name) override {
    return name == L"sourceURL" ? source_url : L"";
  }

  bool exists = false;
  bool shown = false;
  std::wstring url;
  std::wstring source_url;
  std::vector<std::wstring> events;
};

class FakeCommandBoxHost : public commandbox::CommandBoxHost {
 public:
  int WindowTopTwips() override { return top; }
  int WindowLeftTwips() override { return left; }
  void ShowInputText(const std::wstring& text) override { input_box = text; }
  void FocusInput() override { ++focus_calls; }
  // The row and the lyric line go with the player's events, in their order.
  void SetInputRowTop(int twips) override {
    player.events.push_back(L"row:" + std::to_wstring(twips));
  }
  void SetLyricLine(const std::wstring& text) override {
    player.events.push_back(L"lyric-line:" + text);
  }
  void SetWindowAlpha(int value) override {
    alpha = value;
    ++alpha_calls;
  }
  void ShowAbout() override { ++about_shown; }
  void ShowMessage(const std::wstring& text, const std::wstring& title) override {
    messages.push_back(text);
    titles.push_back(title);
  }
  void SignalFailure() override { ++failures; }
  commandbox::PlayerPort& Player() override { return player; }

  bool StartCommandLine(const std::wstring& command_line) override {
    starts.push_back(command_line);
    return start_result;
  }
  bool StartThroughShell(const std::wstring& target) override {
    starts.push_back(L"shell:" + target);
    return start_result;
  }
  commandbox::ProgramLookupPort& Lookup() override { return start_port; }
  bool StartCommandLineAndWait(const std::wstring& command_line, unsigned timeout_ms) override {
    waited_starts.push_back(command_line);
    last_wait_ms = timeout_ms;
    starts.push_back(command_line);
    events.push_back(L"start:" + command_line);
    // The real wait processes messages: keys and clicks can come in here.
    if (during_wait)
      during_wait();
    return start_result;
  }
  bool FileExists(const std::wstring& path) override {
    probes.push_back(path);
    return files.count(common::ToLowerAscii(path)) != 0;
  }
  bool RenameFile(const std::wstring& from, const std::wstring& to) override {
    renames.push_back({from, to});
    events.push_back(L"rename:" + from + L">" + to);
    const std::wstring f = common::ToLowerAscii(from), t = common::ToLowerAscii(to);
    if (!files.count(f) || files.count(t))
      return false;
    files.erase(f);
    files.insert(t);
    return true;
  }
  bool WriteRunValue(const std::wstring& name, const std::wstring& data) override {
    registry_log.push_back(L"write:" + name + L"=" + data);
    if (registry_fails)
      return false;
    run_values[name] = data;
    return true;
  }
  bool DeleteRunValue(const std::wstring& name) override {
    registry_log.push_back(L"delete:" + name);
    if (registry_fails)
      return false;
    run_values.erase(name);
    return true;
  }
  bool ReadRunValue(const std::wstring& name, std::wstring* data) override {
    const auto found = run_values.find(name);
    if (found == run_values.end())
      return false;
    *data = found->second;
    return true;
  }
  common::ProgramPath Program() override { return program; }
  std::wstring WindowsFolder() override { return windows_folder; }
  common::ProfilePort& Profile() override { return profile; }

  void AddFile(const std::wstring& path) { files.insert(common::ToLowerAscii(path)); }

  int top = 5700, left = 100;
  std::wstring input_box;
  int focus_calls = 0;
  int alpha = 200, alpha_calls = 0;
  int about_shown = 0;
  std::vector<std::wstring> messages, titles;
  int failures = 0;
  FakePlayer player;
  bool start_result = true;
  std::vector<std::wstring> starts, waited_starts, events, probes;
  unsigned last_wait_ms = 0;
  std::function<void()> during_wait;
  std::vector<std::pair<std::wstring, std::wstring>> renames;
  std::set<std::wstring> files;  // case-folded
  bool registry_fails = false;
  std::vector<std::wstring> registry_log;
  std::map<std::wstring, std::wstring> run_values;
  common::ProgramPath program{L"C:\\Tools", L"Tovrix"};
  std::wstring windows_folder = L"C:\\WINDOWS";
  FakeProfile profile;
  // Finds every program unless a test says otherwise.
  FakeStartPort start_port;
};

}  // namespace testing_support

#endif  // TESTING_FAKE_COMMAND_BOX_HOST_H_
