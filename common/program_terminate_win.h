// Included once by each program's main_win.cpp. The programs have no
// exception handler of their own: anything thrown ends in std::terminate.
// The library's default handler first prints the exception's type, which
// pulls in the whole C++ demangler (some 46 KB, a tenth of a program) for
// a console that a GUI program does not have. This one ends the program as
// the default does, without the printing.
#ifndef COMMON_PROGRAM_TERMINATE_WIN_H_
#define COMMON_PROGRAM_TERMINATE_WIN_H_

#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

#endif  // COMMON_PROGRAM_TERMINATE_WIN_H_
