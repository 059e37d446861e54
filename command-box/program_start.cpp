#include "command-box/program_start.h"

namespace commandbox {
namespace {

StartOutcome OutcomeOf(unsigned long answer) {
  if (answer == kStartDone)
    return StartOutcome::kStarted;
  return answer == kCancelled ? StartOutcome::kDeclined : StartOutcome::kFailed;
}

}  // namespace

StartOutcome LaunchCommandLine(StartPort& port,
                               const std::wstring& command_line,
                               ProcessHandle* process) {
  const unsigned long answer = port.StartProcess(command_line, process);
  if (answer == kStartDone)
    return StartOutcome::kStarted;
  if (answer != kElevationRequired && answer != kFileNotFound)
    return StartOutcome::kFailed;
  const ProgramCall call = port.Locate(command_line);
  if (call.program.empty())
    return StartOutcome::kFailed;
  if (answer == kFileNotFound && !call.by_app_paths)
    return StartOutcome::kFailed;
  return OutcomeOf(port.ShellStart(call.program, call.arguments, process));
}

StartOutcome LaunchThroughShell(StartPort& port,
                                const std::wstring& target,
                                ProcessHandle* process) {
  return OutcomeOf(port.ShellStart(target, std::wstring(), process));
}

}  // namespace commandbox
