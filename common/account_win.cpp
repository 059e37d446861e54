#include "common/account_win.h"

#include <vector>

#include "common/owned_win.h"
#include "common/win32_win.h"

#include <sddl.h>

namespace common {

std::wstring CurrentUserSid() {
  OwnedHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
    return std::wstring();
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size ? size : 1);
  std::wstring text;
  if (size && ::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
    wchar_t* sid = nullptr;
    if (::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
      text = sid;
      ::LocalFree(sid);
    }
  }
  return text;
}

}  // namespace common
