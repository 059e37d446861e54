// A stand-in for the platform's start that answers as Windows does: the
// programs it finds, its answers to the process start and the shell's
// start by program, and a record of the calls.
#ifndef TESTING_FAKE_START_PORT_H_
#define TESTING_FAKE_START_PORT_H_

#include <map>
#include <set>
#include <string>
#include <vector>

#include "command-box/program_start.h"
#include "common/text_rules.h"

namespace testing_support {

class FakeStartPort : public commandbox::StartPort {
 public:
  // The first part of a command line, with ".exe" where it has no ending,
  // in lower case: the name the sets and answers below go by.
  static std::wstring ProgramName(const std::wstring& command_line) {
    std::wstring name = common::ToLowerAscii(command_line.substr(0, command_line.find(L' ')));
    return name.find(L'.') == std::wstring::npos && name.find(L':') == std::wstring::npos
               ? name + L".exe"
               : name;
  }

  commandbox::ProgramCall Locate(const std::wstring& command_line) override {
    const std::wstring name = ProgramName(command_line);
    const size_t blank = command_line.find(L' ');
    const std::wstring arguments =
        blank == std::wstring::npos ? L"" : command_line.substr(blank + 1);
    if (finds_everything || programs.count(name))
      return {L"C:\\WINDOWS\\system32\\" + name, arguments, false};
    if (app_paths.count(name))
      return {L"C:\\Program Files\\App\\" + name, arguments, true};
    return {};
  }
  bool SystemFileExists(const std::wstring& name) override {
    return finds_everything || system_files.count(common::ToLowerAscii(name)) != 0;
  }
  bool SchemeRegistered(const std::wstring& scheme) override { return schemes.count(scheme) != 0; }
  commandbox::WindowsVersion Version() override { return version; }
  bool Is64BitWindows() override { return windows_64_bit; }

  unsigned long StartProcess(const std::wstring& command_line,
                             commandbox::ProcessHandle* process) override {
    calls.push_back(L"process:" + command_line);
    const std::wstring name = ProgramName(command_line);
    if (const auto answer = process_answers.find(name); answer != process_answers.end())
      return answer->second;
    return Locate(command_line).by_app_paths || Locate(command_line).program.empty()
               ? commandbox::kFileNotFound
               : commandbox::kStartDone;
  }
  unsigned long ShellStart(const std::wstring& file,
                           const std::wstring& parameters,
                           commandbox::ProcessHandle* process) override {
    calls.push_back(L"shell:" + file + L"|" + parameters);
    const auto answer = shell_answers.find(file);
    return answer == shell_answers.end() ? commandbox::kStartDone : answer->second;
  }

  bool finds_everything = true;
  std::set<std::wstring> programs, app_paths, system_files, schemes;
  commandbox::WindowsVersion version{5, 1, 2600};
  bool windows_64_bit = false;
  std::map<std::wstring, unsigned long> process_answers, shell_answers;
  std::vector<std::wstring> calls;
};

}  // namespace testing_support

#endif  // TESTING_FAKE_START_PORT_H_
