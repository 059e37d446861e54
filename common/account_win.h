// The account the program runs as.
#ifndef COMMON_ACCOUNT_WIN_H_
#define COMMON_ACCOUNT_WIN_H_

#include <string>

namespace common {

// The user's security identifier in its text form ("S-1-5-21-..."), as
// the registry's per-user keys and the recycle bin's folders name it; ""
// where the process token cannot tell it.
std::wstring CurrentUserSid();

}  // namespace common

#endif  // COMMON_ACCOUNT_WIN_H_
