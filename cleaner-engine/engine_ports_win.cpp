#include "cleaner-engine/engine_ports_win.h"

#include <psapi.h>

#include <algorithm>

#include <vector>

#include "common/window_win.h"

namespace engine {
namespace {

static_assert(sizeof(HMODULE) == sizeof(ModuleHandle) || sizeof(void*) != 4,
              "module handles are passed through as they are");

// Whether a path can go behind "\\?\" as it stands: every component a
// real name (no empty component, no "." or "..") and backslashes only.
bool IsPlainAbsolute(const std::wstring& path, size_t from) {
  if (path.find(L'/') != std::wstring::npos)
    return false;
  size_t start = from;
  while (start < path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos)
      end = path.size();
    const std::wstring part = path.substr(start, end - start);
    // A trailing "\" (an empty last component) names the folder itself.
    if ((part.empty() && end != path.size()) || part == L"." || part == L"..")
      return false;
    start = end + 1;
  }
  return true;
}

class Win32Search : public DirectorySearch {
 public:
  Win32Search(HANDLE find, const WIN32_FIND_DATAW& first) : find_(find), data_(first) {}
  ~Win32Search() override { ::FindClose(find_); }
  bool Next(DirEntry* entry) override {
    if (!have_) {
      if (!::FindNextFileW(find_, &data_))
        return false;
    }
    have_ = false;
    entry->name = data_.cFileName;
    entry->attributes = data_.dwFileAttributes;
    return true;
  }

 private:
  HANDLE find_;
  WIN32_FIND_DATAW data_;
  bool have_ = true;  // the entry FindFirstFileW returned is not read yet
};

bool HasWildcard(const std::wstring& path) {
  return path.find_first_of(L"*?") != std::wstring::npos;
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0)
    return path;
  const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  const bool unc = path.size() > 2 && path.rfind(L"\\\\", 0) == 0;
  if (!drive && !unc)
    return path;  // relative: left to the classic rules
  std::wstring full = path;
  if (!IsPlainAbsolute(path, drive ? 3 : 2)) {
    // An odd spelling ("C:\a\.\b", "C:/a"), which only a start folder can
    // have: the classic rules make it a plain path once, and from there on
    // every name stays as it is.
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
      return path;
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed)
      return path;
    buffer.resize(length);
    full = buffer;
  }
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
    return L"\\\\?\\" + full;
  if (full.rfind(L"\\\\", 0) == 0)
    return L"\\\\?\\UNC\\" + full.substr(2);
  return full;
}

namespace {

// The hold of a folder: a handle opened without following a reparse point
// and without delete sharing, which keeps the folder from being renamed,
// moved or deleted until it is closed.
class Win32FolderHold : public FolderHold {
 public:
  explicit Win32FolderHold(HANDLE handle) : handle_(handle) {}
  ~Win32FolderHold() override { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

bool PlainFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

// The check and the use are one: the folder is opened first, then verified
// through that handle, and it stays open while the walk is inside. Windows
// reports a junction, symbolic link or mount point on a handle opened with
// FILE_FLAG_OPEN_REPARSE_POINT; Wine follows a link even then, so the
// path's own attributes are checked as well, after the handle is held (the
// entry named can no longer change by then).
std::unique_ptr<FolderHold> Win32FileSystem::HoldFolder(const std::wstring& path) {
  std::wstring folder = path;
  // "C:\x\" names the folder "C:\x"; a drive root keeps its backslash.
  if (folder.size() > 3 && folder.back() == L'\\')
    folder.pop_back();
  const std::wstring extended = ExtendedPath(folder);
  HANDLE handle = ::CreateFileW(
      extended.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return nullptr;
  auto hold = std::make_unique<Win32FolderHold>(handle);
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(handle, &info) || !PlainFolder(info.dwFileAttributes))
    return nullptr;
  if (!PlainFolder(::GetFileAttributesW(extended.c_str())))
    return nullptr;
  return hold;
}

std::unique_ptr<DirectorySearch> Win32FileSystem::OpenSearch(const std::wstring& pattern) {
  // "*.*" means every entry by the classic rules; behind "\\?\" that is
  // said "*".
  std::wstring literal = ExtendedPath(pattern);
  if (literal.size() >= 4 && literal.compare(literal.size() - 4, 4, L"\\*.*") == 0)
    literal.resize(literal.size() - 2);
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(literal.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return nullptr;
  return std::make_unique<Win32Search>(find, data);
}

bool Win32FileSystem::Attributes(const std::wstring& path, uint32_t* attributes) {
  const DWORD value = ::GetFileAttributesW(ExtendedPath(path).c_str());
  if (value == INVALID_FILE_ATTRIBUTES)
    return false;
  *attributes = value;
  return true;
}

bool Win32FileSystem::SetAttributes(const std::wstring& path, uint32_t attributes) {
  return ::SetFileAttributesW(ExtendedPath(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::Size(const std::wstring& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data))
    return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    return false;
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool Win32FileSystem::Remove(const std::wstring& path) {
  return ::DeleteFileW(ExtendedPath(path).c_str()) != FALSE;
}

// By the exact name, not by a search: a search pattern would take "?" and
// "*" (and, on Windows, "<", ">" and a quote) as wildcards.
bool Win32FileSystem::ListingFindsFile(const std::wstring& path, bool include_hidden_system) {
  if (path.empty() || HasWildcard(path))
    return false;
  const DWORD attributes = ::GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  if (!include_hidden_system && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
    return false;
  return true;
}

bool Win32FileSystem::Exists(const std::wstring& path) {
  if (path.empty() || HasWildcard(path))
    return false;
  return ::GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Win32DriveList::LogicalDriveStrings(size_t buffer_chars) {
  std::wstring buffer(buffer_chars, L'\0');
  const DWORD needed = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer_chars), buffer.data());
  // A list that does not fit leaves the buffer as it was: no drive.
  if (needed > buffer_chars)
    return std::wstring(buffer_chars, L'\0');
  return buffer;
}

unsigned Win32DriveList::DriveType(const std::wstring& root) {
  return ::GetDriveTypeW(root.c_str());
}

bool Win32ProcessList::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) {
  DWORD got = 0;
  const BOOL ok = ::EnumProcesses(reinterpret_cast<DWORD*>(ids), bytes, &got);
  *returned = got;
  return ok != FALSE;
}

ProcessHandle Win32ProcessList::Open(uint32_t id, uint32_t rights) {
  return reinterpret_cast<ProcessHandle>(::OpenProcess(rights, FALSE, id));
}

bool Win32ProcessList::EnumModules(ProcessHandle process,
                                   ModuleHandle* modules,
                                   uint32_t bytes,
                                   uint32_t* needed) {
  DWORD need = 0;
  const BOOL ok = ::EnumProcessModules(reinterpret_cast<HANDLE>(process),
                                       reinterpret_cast<HMODULE*>(modules), bytes, &need);
  *needed = need;
  return ok != FALSE;
}

std::wstring Win32ProcessList::ModuleFileName(ProcessHandle process,
                                              ModuleHandle module,
                                              uint32_t max_chars) {
  std::vector<wchar_t> buffer(max_chars + 1, L'*');
  const DWORD length =
      ::GetModuleFileNameExW(reinterpret_cast<HANDLE>(process), reinterpret_cast<HMODULE>(module),
                             buffer.data(), max_chars);
  return std::wstring(buffer.data(), std::min<DWORD>(length, max_chars));
}

void Win32ProcessList::Close(ProcessHandle process) {
  ::CloseHandle(reinterpret_cast<HANDLE>(process));
}

bool EnableDebugPrivilege() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), 0xF00FF, &token))
    return false;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = false;
  if (::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
    BYTE previous[28] = {};
    DWORD previous_size = 0;
    ok = ::AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous),
                                 reinterpret_cast<TOKEN_PRIVILEGES*>(previous),
                                 &previous_size) != FALSE;
  }
  ::CloseHandle(token);
  return ok;
}

void ResultList::Create(HWND parent,
                        int list_id,
                        int status_id,
                        const RECT& list_rect,
                        HFONT font) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  list_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
      list_rect.left, list_rect.top, list_rect.right - list_rect.left,
      list_rect.bottom - list_rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(list_id)), instance, nullptr);
  if (font)
    ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const struct {
    const wchar_t* title;
    int twips;
  } columns[] = {{L"文件路径", 6000}, {L"文件大小", 2000}, {L"状态", 1440}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns[i].title);
    column.cx = columns[i].twips / 15;
    column.iSubItem = i;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(status_id)), instance,
                              nullptr);
  if (font)
    ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int parts[] = {-1};
  ::SendMessageW(status_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
}

void ResultList::ClearRows() {
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  newest_row_ = -1;
  ShowNewestRow();
}

void ResultList::ShowNewestRow() {
  last_rows_shown_ = common::SteadyMilliseconds();
  if (batching_) {
    batching_ = false;
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, FALSE);
  }
  if (newest_row_ < 0)
    return;
  ::SendMessageW(list_, LVM_ENSUREVISIBLE, newest_row_, FALSE);
  newest_row_ = -1;
}

void ResultList::AddRow(const std::wstring& item,
                        const std::wstring& size,
                        const std::wstring& status) {
  // Under Wine a visible list view repaints and scrolls at every inserted
  // row, some 20 ms each; rows are added without drawing and shown together
  // when the message queue is next emptied.
  if (!batching_) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    batching_ = true;
  }
  LVITEMW row = {};
  row.mask = LVIF_TEXT;
  row.iItem = RowCount();
  row.pszText = const_cast<wchar_t*>(item.c_str());
  const int index =
      static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
  if (index < 0)
    return;
  LVITEMW cell = {};
  cell.iSubItem = 1;
  cell.pszText = const_cast<wchar_t*>(size.c_str());
  ::SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  cell.iSubItem = 2;
  cell.pszText = const_cast<wchar_t*>(status.c_str());
  ::SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  // Scrolling to the new row costs a repaint; it happens when the message
  // queue is next emptied, for the latest row only.
  newest_row_ = index;
}

int ResultList::RowCount() const {
  return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ResultList::CellText(int row, int column) const {
  wchar_t buffer[1024] = {};
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = buffer;
  cell.cchTextMax = 1024;
  ::SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
  return buffer;
}

void ResultList::SetProgress(const std::wstring& text) {
  latest_ = text;
  pending_ = true;
  if (common::SteadyMilliseconds() - last_shown_ >= kProgressInterval)
    FlushProgress();
}

void ResultList::FlushProgress() {
  if (!pending_)
    return;
  pending_ = false;
  last_shown_ = common::SteadyMilliseconds();
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(latest_.c_str()));
}

void ResultList::Yield() {
  const unsigned long long now = common::SteadyMilliseconds();
  if (now - last_pump_ < kPumpInterval)
    return;
  if (pending_ && now - last_shown_ >= kProgressInterval)
    FlushProgress();
  if (now - last_rows_shown_ >= kRowsInterval)
    ShowNewestRow();
  common::Yield();
  last_pump_ = common::SteadyMilliseconds();
}

std::wstring ResultList::ShownProgress() const {
  const LRESULT info = ::SendMessageW(status_, SB_GETTEXTLENGTHW, 0, 0);
  std::wstring text(LOWORD(info) + 1, L'\0');
  ::SendMessageW(status_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

common::MessageResult ShowEngineMessage(HWND owner,
                                        const std::wstring& text,
                                        const std::wstring& title,
                                        common::MessageIcon icon,
                                        common::MessageButtons buttons) {
  UINT flags = 0;
  if (icon == common::MessageIcon::kInformation)
    flags |= MB_ICONINFORMATION;
  if (icon == common::MessageIcon::kQuestion)
    flags |= MB_ICONQUESTION;
  if (buttons == common::MessageButtons::kOkCancelDefaultCancel) {
    flags |= MB_OKCANCEL | MB_DEFBUTTON2;
  } else {
    flags |= MB_OK;
  }
  const int answer = ::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
  return answer == IDOK ? common::MessageResult::kOk : common::MessageResult::kCancel;
}

}  // namespace engine
