// In-memory stand-in for the platform's profile functions: files of
// sections of keys, with the platform's buffer rule on reading.
#ifndef TESTING_FAKE_PROFILE_H_
#define TESTING_FAKE_PROFILE_H_

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "common/settings.h"

namespace testing_support {

class FakeProfile : public common::ProfilePort {
 public:
  struct Write {
    std::wstring file, section, key, value;
    bool operator==(const Write&) const = default;
  };

  std::wstring GetString(const std::wstring& file,
                         const std::wstring& section,
                         const std::wstring& key,
                         size_t buffer_chars) override {
    ++reads;
    const auto it = values_.find({Canon(file), section, key});
    if (it == values_.end() || buffer_chars == 0)
      return L"";
    return it->second.substr(0, buffer_chars - 1);
  }

  bool WriteString(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key,
                   const std::wstring& value) override {
    writes.push_back({file, section, key, value});
    if (fail_writes || unwritable.count(Canon(file)))
      return false;
    values_[{Canon(file), section, key}] = value;
    return true;
  }

  void Set(const std::wstring& file,
           const std::wstring& section,
           const std::wstring& key,
           const std::wstring& value) {
    values_[{Canon(file), section, key}] = value;
  }
  bool Has(const std::wstring& file, const std::wstring& section, const std::wstring& key) const {
    return values_.count({Canon(file), section, key}) != 0;
  }
  std::wstring Get(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key) const {
    const auto it = values_.find({Canon(file), section, key});
    return it == values_.end() ? L"" : it->second;
  }

  // Whether any value is stored in the file: the file exists.
  bool HasFile(const std::wstring& file) const {
    for (const auto& [where, value] : values_)
      if (std::get<0>(where) == Canon(file))
        return true;
    return false;
  }
  // Every value of one file stored in another too.
  void CopyFile(const std::wstring& from, const std::wstring& to) {
    const auto copy = values_;
    for (const auto& [where, value] : copy)
      if (std::get<0>(where) == Canon(from))
        values_[{Canon(to), std::get<1>(where), std::get<2>(where)}] = value;
  }

  // When set, a bare file name stands for the file of this folder, as the
  // platform places it in the Windows folder.
  std::wstring bare_name_folder;

  std::vector<Write> writes;
  int reads = 0;
  bool fail_writes = false;
  // Files whose writes are refused, as the platform refuses a file in a
  // folder the user cannot write.
  std::set<std::wstring> unwritable;

 private:
  std::wstring Canon(const std::wstring& file) const {
    if (bare_name_folder.empty() || file.find_first_of(L"\\/") != std::wstring::npos)
      return file;
    return bare_name_folder + L"\\" + file;
  }

  std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values_;
};

}  // namespace testing_support

#endif  // TESTING_FAKE_PROFILE_H_
