// GoogleTest extension point, used only by the Windows tree.
//
// MinGW's win32 thread model has no std::mutex or std::condition_variable,
// which GoogleTest's own Notification class is built on. This one waits on
// a manual-reset Win32 event instead. Reached through -iquote so that it
// wins over the empty header of the same name inside GoogleTest.
#ifndef TESTING_GTEST_CUSTOM_GTEST_PORT_H_
#define TESTING_GTEST_CUSTOM_GTEST_PORT_H_

#if defined(_WIN32)
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing
#endif  // _WIN32

#endif  // TESTING_GTEST_CUSTOM_GTEST_PORT_H_
