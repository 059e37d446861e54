// The one way the Win32 files of the suite include the Windows headers.
#ifndef COMMON_WIN32_WIN_H_
#define COMMON_WIN32_WIN_H_

#include <windows.h>

// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

// winbase.h still carries the 16-bit Yield() as an empty macro, which would
// swallow every function and method of that name.
#ifdef Yield
#undef Yield
#endif

#endif  // COMMON_WIN32_WIN_H_
