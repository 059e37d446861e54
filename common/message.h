// Message boxes as the portable code asks for them; the Win32 side maps
// these to MessageBoxW flags.
#ifndef COMMON_MESSAGE_H_
#define COMMON_MESSAGE_H_

namespace common {

enum class MessageIcon { kNone, kInformation, kQuestion };
enum class MessageButtons {
  kOk,
  kOkCancelDefaultCancel,  // OK and Cancel, Cancel the default button
};
enum class MessageResult { kOk, kCancel };

}  // namespace common

#endif  // COMMON_MESSAGE_H_
