// Tables of the tests write a list as one text with "|" between its items.
#ifndef TESTING_LIST_TEXT_H_
#define TESTING_LIST_TEXT_H_

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

// The items of a list with "|" between them; "" is no item.
inline std::vector<std::wstring> Split(const std::wstring& list) {
  std::vector<std::wstring> items;
  for (size_t at = 0; at < list.size();) {
    const size_t end = std::min(list.find(L'|', at), list.size());
    items.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return items;
}

}  // namespace testing_support

#endif  // TESTING_LIST_TEXT_H_
