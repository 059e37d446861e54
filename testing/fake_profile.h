// In-memory stand-in for the platform's profile functions: files of
// sections of keys, with the platform's buffer rule on reading.
#ifndef TESTING_FAKE_PROFILE_H_
#define TESTING_FAKE_PROFILE_H_

#include <map>
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
    const auto it = values_.find({file, section, key});
    if (it == values_.end() || buffer_chars == 0)
      return L"";
    return it->second.substr(0, buffer_chars - 1);
  }

  bool WriteString(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key,
                   const std::wstring& value) override {
    writes.push_back({file, section, key, value});
    if (fail_writes)
      return false;
    values_[{file, section, key}] = value;
    return true;
  }

  void Set(const std::wstring& file,
           const std::wstring& section,
           const std::wstring& key,
           const std::wstring& value) {
    values_[{file, section, key}] = value;
  }
  bool Has(const std::wstring& file, const std::wstring& section, const std::wstring& key) const {
    return values_.count({file, section, key}) != 0;
  }
  std::wstring Get(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key) const {
    const auto it = values_.find({file, section, key});
    return it == values_.end() ? L"" : it->second;
  }

  std::vector<Write> writes;
  int reads = 0;
  bool fail_writes = false;

 private:
  std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values_;
};

}  // namespace testing_support

#endif  // TESTING_FAKE_PROFILE_H_
