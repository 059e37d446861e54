// The command script that finishes the recycle-bin category: it removes
// the RECYCLER and Recycled folders of every fixed drive and restarts the
// desktop shell, then deletes itself.
#ifndef TEMP_CLEANER_RECYCLE_SCRIPT_H_
#define TEMP_CLEANER_RECYCLE_SCRIPT_H_

#include <string>

namespace tempclean {

inline constexpr wchar_t kScriptName[] = L"RECYCLER.bat";

// The 18 lines, each ended by CR LF.
std::wstring RecycleScriptText();

}  // namespace tempclean

#endif  // TEMP_CLEANER_RECYCLE_SCRIPT_H_
