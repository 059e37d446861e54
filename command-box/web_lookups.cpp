#include "command-box/web_lookups.h"

namespace commandbox {
namespace {

// Baidu takes its query in "wd"; ip138 answers IP, mobile (on port 8080)
// and ID-card lookups in these forms; Qzone puts a user's space at
// user.qzone.qq.com/<account>.
constexpr WebHosts kHosts = {
    L"www.baidu.com",
    L"www.ip138.com",
    L"qq.ip138.com",
    L"user.qzone.qq.com",
};

// Popular sites reachable as www.<keyword>.com; four of them numeric.
constexpr const wchar_t* kSites[] = {
    L"baidu", L"sina",   L"sohu",   L"qq",     L"taobao", L"youku", L"ifeng", L"hao123", L"xunlei",
    L"tudou", L"google", L"douban", L"alipay", L"163",    L"126",   L"360",   L"58",     L"qz64",
};
static_assert(sizeof(kSites) / sizeof(kSites[0]) == 18);

}  // namespace

const WebHosts& Hosts() {
  return kHosts;
}

std::span<const wchar_t* const> SiteKeywords() {
  return kSites;
}

bool IsSiteKeyword(const std::wstring& input) {
  for (const wchar_t* site : kSites)
    if (input == site)
      return true;
  return false;
}

std::wstring SearchAddress(const std::wstring& input) {
  return std::wstring(L"http://") + kHosts.search + L"/s?wd=" + input;
}

std::wstring SiteAddress(const std::wstring& keyword) {
  return L"http://www." + keyword + L".com";
}

std::wstring IpLookupAddress(const std::wstring& input) {
  return std::wstring(L"http://") + kHosts.ip_lookup + L"/ips.asp?ip=" + input + L"&action=2";
}

std::wstring AccountPageAddress(const std::wstring& input) {
  return std::wstring(L"http://") + kHosts.personal_space + L"/" + input;
}

std::wstring MobileLookupAddress(const std::wstring& input) {
  return std::wstring(L"http://") + kHosts.ip_lookup + L":8080" +
         L"/search.asp?action=mobile&mobile=" + input;
}

std::wstring IdCardLookupAddress(const std::wstring& input) {
  return std::wstring(L"http://") + kHosts.id_card_lookup +
         L"/idsearch/index.asp?action=idcard&userid=" + input;
}

std::wstring BrowserCommandLine(const std::wstring& address) {
  return kBrowserPrefix + address;
}

}  // namespace commandbox
