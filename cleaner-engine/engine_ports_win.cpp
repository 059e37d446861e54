#include "cleaner-engine/engine_ports_win.h"

#include <algorithm>
#include <type_traits>

#include <vector>

#include "cleaner-engine/scan_engine.h"
#include "common/owned_win.h"
#include "common/window_win.h"
#include "common/wow64_win.h"

namespace engine {
namespace {

static_assert(sizeof(HMODULE) == sizeof(ModuleHandle) || sizeof(void*) != 4,
              "module handles are passed through as they are");

// Whether a path can go behind "\\?\" as it stands: every component a
// real name (no empty component, no "." or "..") and backslashes only.
bool IsPlainAbsolute(const std::wstring& path, size_t from) {
  size_t start = from;
  while (start < path.size()) {
    size_t end = start;
    while (end < path.size() && path[end] != L'\\') {
      if (path[end] == L'/')
        return false;
      ++end;
    }
    const size_t length = end - start;
    // A trailing "\" (an empty last component) names the folder itself.
    if (length == 0 && end != path.size())
      return false;
    if (path[start] == L'.' && (length == 1 || (length == 2 && path[start + 1] == L'.')))
      return false;
    start = end + 1;
  }
  return true;
}

// A search by pattern (FindFirstFileW), where the system has no way to list
// an open folder.
class PatternSearch : public DirectorySearch {
 public:
  PatternSearch(HANDLE find, const WIN32_FIND_DATAW& first) : find_(find), data_(first) {}
  bool Next(DirEntry* entry) override {
    if (!have_) {
      if (!::FindNextFileW(find_.get(), &data_))
        return false;
    }
    have_ = false;
    entry->name = data_.cFileName;
    entry->attributes = data_.dwFileAttributes;
    return true;
  }

 private:
  common::OwnedFind find_;
  WIN32_FIND_DATAW data_;
  bool have_ = true;  // the entry FindFirstFileW returned is not read yet
};

// The native calls that list and examine an open folder. They are in
// ntdll.dll on every Windows NT, XP included, and are looked up at run time
// so that the programs import only the usual system DLLs.
struct IoStatus {
  union {
    LONG status;
    void* pointer;
  };
  ULONG_PTR information;
};
struct BasicInformation {  // FILE_BASIC_INFORMATION
  LARGE_INTEGER creation, last_access, last_write, change;
  ULONG attributes;
};
struct BothDirectoryInformation {  // FILE_BOTH_DIR_INFORMATION
  ULONG next_entry_offset;
  ULONG file_index;
  LARGE_INTEGER creation, last_access, last_write, change, end_of_file, allocation;
  ULONG attributes;
  ULONG name_length;  // bytes
  ULONG ea_size;
  CCHAR short_name_length;
  WCHAR short_name[12];
  WCHAR name[1];
};
constexpr int kFileBasicInformation = 4;
constexpr int kFileBothDirectoryInformation = 3;

constexpr int kFileDispositionInformation = 13;

using QueryInformationFile = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using SetInformationFile = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
using QueryDirectoryFile = LONG(WINAPI*)(HANDLE, HANDLE, void*, void*, IoStatus*, void*, ULONG,
                                         int, BOOLEAN, void*, BOOLEAN);
struct NativeCalls {
  QueryInformationFile query_information = nullptr;
  QueryDirectoryFile query_directory = nullptr;
  SetInformationFile set_information = nullptr;
};
const NativeCalls& Native() {
  static const NativeCalls calls = [] {
    NativeCalls c;
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
      c.query_information = reinterpret_cast<QueryInformationFile>(
          reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryInformationFile")));
      c.query_directory = reinterpret_cast<QueryDirectoryFile>(
          reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryDirectoryFile")));
      c.set_information = reinterpret_cast<SetInformationFile>(
          reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtSetInformationFile")));
    }
    return c;
  }();
  return calls;
}

// The attributes of an open file or folder: the cheap basic information
// where it can be had (Wine answers GetFileInformationByHandle with a slow
// look at the volume as well).
DWORD HandleAttributes(HANDLE handle) {
  if (Native().query_information) {
    IoStatus io = {};
    BasicInformation basic = {};
    if (Native().query_information(handle, &io, &basic, sizeof(basic), kFileBasicInformation) >= 0)
      return basic.attributes;
    return INVALID_FILE_ATTRIBUTES;
  }
  BY_HANDLE_FILE_INFORMATION info;
  return ::GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes
                                                     : INVALID_FILE_ATTRIBUTES;
}

// A search over a held folder through its own handle: the folder listed is
// the one that was verified, and no second handle is opened for it.
class HandleSearch : public DirectorySearch {
 public:
  explicit HandleSearch(HANDLE folder) : folder_(folder), buffer_(kBufferBytes / sizeof(ULONG)) {}
  // Reads the first batch; false when the folder cannot be listed.
  bool Start() { return Fill(true); }
  bool Next(DirEntry* entry) override {
    if (at_ == nullptr && (done_ || !Fill(false)))
      return false;
    const auto* info = reinterpret_cast<const BothDirectoryInformation*>(at_);
    entry->name.assign(info->name, info->name_length / sizeof(WCHAR));
    entry->attributes = info->attributes;
    at_ = info->next_entry_offset ? at_ + info->next_entry_offset : nullptr;
    return true;
  }

 private:
  static constexpr ULONG kBufferBytes = 32 * 1024;
  bool Fill(bool restart) {
    IoStatus io = {};
    const LONG status = Native().query_directory(
        folder_, nullptr, nullptr, nullptr, &io, buffer_.data(), kBufferBytes,
        kFileBothDirectoryInformation, FALSE, nullptr, restart ? TRUE : FALSE);
    if (status < 0 || io.information == 0) {
      done_ = true;
      at_ = nullptr;
      return false;
    }
    at_ = reinterpret_cast<const BYTE*>(buffer_.data());
    return true;
  }

  HANDLE folder_;
  std::vector<ULONG> buffer_;  // ULONG-aligned, as the entries are
  const BYTE* at_ = nullptr;
  bool done_ = false;
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
// moved or deleted until it is closed. The folder is listed through it.
class Win32FolderHold : public FolderHold {
 public:
  Win32FolderHold(common::OwnedHandle handle, std::wstring extended)
      : handle_(std::move(handle)), extended_(std::move(extended)) {}
  std::unique_ptr<DirectorySearch> Search() override {
    if (Native().query_directory) {
      auto search = std::make_unique<HandleSearch>(handle_.get());
      if (!search->Start())
        return nullptr;
      return search;
    }
    WIN32_FIND_DATAW data;
    const std::wstring pattern = extended_ + (extended_.back() == L'\\' ? L"*" : L"\\*");
    HANDLE find;
    {
      common::NativeFileNames native;
      find = ::FindFirstFileW(pattern.c_str(), &data);
    }
    if (find == INVALID_HANDLE_VALUE)
      return nullptr;
    return std::make_unique<PatternSearch>(find, data);
  }

 private:
  common::OwnedHandle handle_;
  std::wstring extended_;
};

bool PlainFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

// The check and the use are one: the folder is opened first, then verified
// through that handle, listed through it, and it stays open while the walk
// is inside. Windows reports a junction, symbolic link or mount point on a
// handle opened with FILE_FLAG_OPEN_REPARSE_POINT; Wine follows a link even
// then, so the path's own attributes are checked as well, after the handle
// is held (the entry named can no longer change by then).
//
// Under WOW64 every path is taken as 64-bit Windows takes it: System32 is
// the native folder and SysWOW64 is itself, so a walk sees each file once,
// under its own name (common::NativeFileNames, around each call only: the
// walk yields to the message loop in between, where DLLs may load).
std::unique_ptr<FolderHold> Win32FileSystem::HoldFolder(const std::wstring& path) {
  std::wstring folder = path;
  // "C:\x\" names the folder "C:\x"; a drive root keeps its backslash.
  if (folder.size() > 3 && folder.back() == L'\\')
    folder.pop_back();
  std::wstring extended = ExtendedPath(folder);
  common::NativeFileNames native;
  common::OwnedHandle handle(
      ::CreateFileW(extended.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle)
    return nullptr;
  if (!PlainFolder(HandleAttributes(handle.get())) ||
      !PlainFolder(::GetFileAttributesW(extended.c_str()))) {
    return nullptr;
  }
  return std::make_unique<Win32FolderHold>(std::move(handle), std::move(extended));
}

bool Win32FileSystem::Attributes(const std::wstring& path, uint32_t* attributes) {
  common::NativeFileNames native;
  const DWORD value = ::GetFileAttributesW(ExtendedPath(path).c_str());
  if (value == INVALID_FILE_ATTRIBUTES)
    return false;
  *attributes = value;
  return true;
}

bool Win32FileSystem::SetAttributes(const std::wstring& path, uint32_t attributes) {
  common::NativeFileNames native;
  return ::SetFileAttributesW(ExtendedPath(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::Size(const std::wstring& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  common::NativeFileNames native;
  if (!::GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data))
    return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    return false;
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool Win32FileSystem::Remove(const std::wstring& path) {
  common::NativeFileNames native;
  return ::DeleteFileW(ExtendedPath(path).c_str()) != FALSE;
}

namespace {

bool PlainFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Marks an open file to be deleted when its last handle closes, or takes
// the mark back.
bool SetDeleteMark(HANDLE file, bool deleted) {
  IoStatus io = {};
  BOOLEAN mark = deleted ? TRUE : FALSE;
  return Native().set_information(file, &io, &mark, sizeof(mark), kFileDispositionInformation) >= 0;
}

// Sets the attributes of an open file; the times stay (zero means "leave
// it").
bool SetHandleAttributes(HANDLE file, DWORD attributes) {
  IoStatus io = {};
  BasicInformation basic = {};
  basic.attributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return Native().set_information(file, &io, &basic, sizeof(basic), kFileBasicInformation) >= 0;
}

}  // namespace

// Every file is opened first, with delete access and every kind of
// sharing: a program that holds one of them open without sharing its
// deletion (a running browser's database) makes that open fail, and then
// none of them is touched. Only once all are open are they marked, through
// their handles, so the files marked are those that were checked; a mark
// that fails takes the others back. The files go when the handles close.
// Wine follows a link even with FILE_FLAG_OPEN_REPARSE_POINT, so the path's
// own attributes are checked as well, once the file is held.
bool Win32FileSystem::RemoveTogether(const std::vector<std::wstring>& paths) {
  if (!Native().set_information || !Native().query_information || paths.empty())
    return false;
  struct Opened {
    common::OwnedHandle file;
    DWORD attributes;
    HANDLE handle() const { return file.get(); }
  };
  std::vector<Opened> opened;
  bool ok = true;
  common::NativeFileNames native;
  for (const std::wstring& path : paths) {
    const std::wstring extended = ExtendedPath(path);
    common::OwnedHandle file(
        ::CreateFileW(extended.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
      ok = false;
      break;
    }
    const DWORD attributes = HandleAttributes(file.get());
    opened.push_back({std::move(file), attributes});
    if (!PlainFile(attributes) || !PlainFile(::GetFileAttributesW(extended.c_str()))) {
      ok = false;
      break;
    }
  }
  size_t marked = 0;
  for (; ok && marked < opened.size(); ++marked) {
    const Opened& o = opened[marked];
    // A read-only file cannot be marked.
    if ((o.attributes & FILE_ATTRIBUTE_READONLY) &&
        !SetHandleAttributes(o.handle(), o.attributes & ~FILE_ATTRIBUTE_READONLY)) {
      ok = false;
      break;
    }
    if (!SetDeleteMark(o.handle(), true)) {
      if (o.attributes & FILE_ATTRIBUTE_READONLY)
        SetHandleAttributes(o.handle(), o.attributes);
      ok = false;
      break;
    }
  }
  if (!ok) {
    for (size_t i = 0; i < marked; ++i) {
      SetDeleteMark(opened[i].handle(), false);
      if (opened[i].attributes & FILE_ATTRIBUTE_READONLY)
        SetHandleAttributes(opened[i].handle(), opened[i].attributes);
    }
  }
  // The marked files go as their handles close, with `opened`.
  return ok;
}

// By the exact name, not by a search: a search pattern would take "?" and
// "*" (and, on Windows, "<", ">" and a quote) as wildcards.
bool Win32FileSystem::ListingFindsFile(const std::wstring& path, bool include_hidden_system) {
  if (path.empty() || HasWildcard(path))
    return false;
  common::NativeFileNames native;
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
  common::NativeFileNames native;
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

namespace {

// psapi.dll, loaded when a run first looks at the processes rather than
// when the program starts (every start would pay for loading it), and
// kept for the runs that follow. A call that is not there fails as the
// call would.
struct ProcessStatusCalls {
  BOOL(WINAPI* enum_processes)(DWORD*, DWORD, DWORD*) = nullptr;
  BOOL(WINAPI* enum_modules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
  DWORD(WINAPI* module_file_name)(HANDLE, HMODULE, LPWSTR, DWORD) = nullptr;
};

const ProcessStatusCalls& ProcessStatus() {
  static const ProcessStatusCalls calls = [] {
    ProcessStatusCalls found;
    HMODULE psapi = ::LoadLibraryW(L"psapi.dll");
    if (!psapi)
      return found;
    auto look_up = [psapi](auto& target, const char* name) {
      target = reinterpret_cast<std::remove_reference_t<decltype(target)>>(
          reinterpret_cast<void*>(::GetProcAddress(psapi, name)));
    };
    look_up(found.enum_processes, "EnumProcesses");
    look_up(found.enum_modules, "EnumProcessModules");
    look_up(found.module_file_name, "GetModuleFileNameExW");
    return found;
  }();
  return calls;
}

}  // namespace

bool Win32ProcessList::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) {
  DWORD got = 0;
  const auto call = ProcessStatus().enum_processes;
  const BOOL ok = call ? call(reinterpret_cast<DWORD*>(ids), bytes, &got) : FALSE;
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
  const auto call = ProcessStatus().enum_modules;
  const BOOL ok = call ? call(reinterpret_cast<HANDLE>(process),
                              reinterpret_cast<HMODULE*>(modules), bytes, &need)
                       : FALSE;
  *needed = need;
  return ok != FALSE;
}

std::wstring Win32ProcessList::ModuleFileName(ProcessHandle process,
                                              ModuleHandle module,
                                              uint32_t max_chars) {
  std::vector<wchar_t> buffer(max_chars + 1, L'*');
  const auto call = ProcessStatus().module_file_name;
  const DWORD length = call ? call(reinterpret_cast<HANDLE>(process),
                                   reinterpret_cast<HMODULE>(module), buffer.data(), max_chars)
                            : 0;
  return std::wstring(buffer.data(), std::min<DWORD>(length, max_chars));
}

// Only where this build cannot read every process's modules: elsewhere the
// phase shows the module file names.
std::wstring Win32ProcessList::ImageFileName(ProcessHandle process, uint32_t max_chars) {
  using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  static const QueryImageName query =
      common::RunsUnderWow64()
          ? reinterpret_cast<QueryImageName>(reinterpret_cast<void*>(::GetProcAddress(
                ::GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")))
          : nullptr;
  if (!query)
    return std::wstring();
  // The call fails rather than cut a name that does not fit: a longer one
  // gets room for any path, and is cut here as a module's name is.
  HANDLE handle = reinterpret_cast<HANDLE>(process);
  wchar_t usual[MAX_PATH + 1];
  DWORD length = MAX_PATH + 1;
  if (query(handle, 0, usual, &length))
    return std::wstring(usual, std::min<DWORD>(length, max_chars));
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
    return std::wstring();
  std::vector<wchar_t> long_name(32768);
  length = static_cast<DWORD>(long_name.size());
  if (!query(handle, 0, long_name.data(), &length))
    return std::wstring();
  return std::wstring(long_name.data(), std::min<DWORD>(length, max_chars));
}

void Win32ProcessList::Close(ProcessHandle process) {
  common::OwnedHandle(reinterpret_cast<HANDLE>(process)).reset();
}

bool EnableDebugPrivilege() {
  common::OwnedHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), 0xF00FF, token.put()))
    return false;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = false;
  if (::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
    BYTE previous[28] = {};
    DWORD previous_size = 0;
    ok = ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous),
                                 reinterpret_cast<TOKEN_PRIVILEGES*>(previous),
                                 &previous_size) != FALSE;
  }
  return ok;
}

void ResultList::Create(HWND parent,
                        int list_id,
                        int status_id,
                        const RECT& list_rect,
                        HFONT font) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // A list view whose rows live here (LVS_OWNERDATA): adding one is a
  // push onto a vector, and the control asks for the texts it draws or is
  // asked for (LVN_GETDISPINFO, also for LVM_GETITEMTEXT from a screen
  // reader). Under Wine inserting real items costs some 0.4 ms each.
  list_ =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                            LVS_NOSORTHEADER | LVS_OWNERDATA,
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
    column.cx = common::TwipsToPixels(columns[i].twips);
    column.iSubItem = i;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(status_id)), instance,
                              nullptr);
  if (font)
    ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The progress text, then the space freed at the right end.
  RECT client = {};
  ::GetClientRect(parent, &client);
  int parts[] = {static_cast<int>(client.right - common::Scaled(kFreedPanelWidth)), -1};
  ::SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  common::SubclassControl(parent, [this](HWND, UINT message, WPARAM, LPARAM lparam,
                                         LRESULT* result) {
    if (message != WM_NOTIFY)
      return false;
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->hwndFrom != list_ || header->code != LVN_GETDISPINFOW)
      return false;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
    if ((item.mask & LVIF_TEXT) && item.iItem >= 0 &&
        static_cast<size_t>(item.iItem) < rows_.size() && item.iSubItem >= 0 && item.iSubItem < 3) {
      item.pszText = const_cast<wchar_t*>(rows_[item.iItem][item.iSubItem].c_str());
    }
    *result = 0;
    return true;
  });
}

void ResultList::ClearRows() {
  rows_.clear();
  shown_count_ = 0;
  newest_row_ = -1;
  ::SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
  last_rows_shown_ = common::SteadyMilliseconds();
}

void ResultList::SyncCount() {
  if (shown_count_ == rows_.size())
    return;
  shown_count_ = rows_.size();
  ::SendMessageW(list_, LVM_SETITEMCOUNT, shown_count_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ResultList::ShowNewestRow() {
  last_rows_shown_ = common::SteadyMilliseconds();
  SyncCount();
  if (newest_row_ < 0)
    return;
  ::SendMessageW(list_, LVM_ENSUREVISIBLE, newest_row_, FALSE);
  newest_row_ = -1;
}

// The control learns of new rows when they are next shown.
void ResultList::AddRow(const std::wstring& item,
                        const std::wstring& size,
                        const std::wstring& status) {
  rows_.push_back({item, size, status});
  newest_row_ = static_cast<int>(rows_.size()) - 1;
}

int ResultList::RowCount() const {
  return static_cast<int>(rows_.size());
}

std::wstring ResultList::CellText(int row, int column) {
  SyncCount();
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
  const bool was_waiting = pending_;
  pending_ = true;
  if (was_waiting && ++texts_unread_ < kTextsPerClockRead)
    return;
  texts_unread_ = 0;
  if (common::SteadyMilliseconds() - last_shown_ >= kProgressInterval)
    FlushProgress();
}

void ResultList::SetFreed(uint64_t bytes) {
  freed_ = bytes;
  freed_pending_ = true;
  // A progress text waiting for the clock brings the figure with it.
  if (!pending_)
    FlushProgress();
}

void ResultList::FlushProgress() {
  if (freed_pending_) {
    freed_pending_ = false;
    const std::wstring text = FreedText(freed_);
    ::SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (!pending_)
    return;
  pending_ = false;
  last_shown_ = common::SteadyMilliseconds();
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(latest_.c_str()));
}

void ResultList::Yield() {
  if (++yields_unread_ < kYieldsPerClockRead)
    return;
  yields_unread_ = 0;
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

namespace {

std::wstring PanelText(HWND status, int panel) {
  const LRESULT info = ::SendMessageW(status, SB_GETTEXTLENGTHW, panel, 0);
  std::wstring text(LOWORD(info) + 1, L'\0');
  ::SendMessageW(status, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

}  // namespace

std::wstring ResultList::ShownProgress() const {
  return PanelText(status_, 0);
}

std::wstring ResultList::ShownFreed() const {
  return PanelText(status_, 1);
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
