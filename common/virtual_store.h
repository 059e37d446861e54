// Settings files of the Windows folder for users who cannot write it.
//
// Both programs keep their settings file in the Windows folder. On XP an
// administrator writes it there. A limited user on XP cannot, and neither
// can a standard user on Vista and later, nor an administrator whose
// program runs without elevation (the default): our manifests declare an
// execution level, which turns Windows' file virtualisation off, and a
// 64-bit program never gets it. So the programs do for themselves what
// that virtualisation would do, in the same place, so that a settings file
// Windows put there for an older build is found too:
//
// - the per-user copy of a file of the Windows folder is
//   <local application data>\VirtualStore\<its path without the drive>,
//   for example C:\Users\Bob\AppData\Local\VirtualStore\Windows\lnk.ini;
// - reading takes the per-user copy when it exists, the Windows folder's
//   file otherwise: once the copy exists, it wins, as under Windows;
// - writing goes to the per-user copy when it exists, else to the Windows
//   folder's file; when that write is refused, the per-user copy is made
//   (folders included) from the Windows folder's file, so that nothing
//   stored there is lost, and the value is written into it.
//
// Where the Windows folder can be written and no copy exists, nothing
// changes: the file is read and written where it always was.
#ifndef COMMON_VIRTUAL_STORE_H_
#define COMMON_VIRTUAL_STORE_H_

#include <string>
#include <string_view>

#include "common/settings.h"

namespace common {

// The per-user copy of `path` below `local_app_data`; "" when there is
// none: no local application data folder, or a path that does not start
// with a drive ("C:\...").
std::wstring VirtualStorePath(std::wstring_view local_app_data, std::wstring_view path);

// What the placement needs of the system.
class VirtualStorePort {
 public:
  virtual ~VirtualStorePort() = default;
  // The folder where the profile functions put a bare file name (the
  // Windows folder).
  virtual std::wstring WindowsFolder() = 0;
  // The user's local application data folder; "" when unknown.
  virtual std::wstring LocalAppData() = 0;
  // True for a file (not a folder) of this name.
  virtual bool FileExists(const std::wstring& path) = 0;
  // Copies a file to a new one, which can then be written; fails when the
  // target exists.
  virtual bool CopyToNewFile(const std::wstring& from, const std::wstring& to) = 0;
  // Creates a folder with every missing folder above it.
  virtual bool MakeFolders(const std::wstring& path) = 0;
};

// The profile functions with the placement above.
class VirtualStoreProfile : public ProfilePort {
 public:
  VirtualStoreProfile(ProfilePort& files, VirtualStorePort& system);

  std::wstring GetString(const std::wstring& file,
                         const std::wstring& section,
                         const std::wstring& key,
                         size_t buffer_chars) override;
  bool WriteString(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key,
                   const std::wstring& value) override;

  // The per-user copy of a settings file, whether it exists or not; "" when
  // it can have none.
  std::wstring CopyOf(const std::wstring& file);

 private:
  // The file as the platform finds it: a bare name is in the Windows
  // folder.
  std::wstring FullPath(const std::wstring& file);

  ProfilePort& files_;
  VirtualStorePort& system_;
};

}  // namespace common

#endif  // COMMON_VIRTUAL_STORE_H_
