// The addresses the command box gives to the web browser, and the browser
// command itself. The hosts of the outside services and the site keywords
// are configuration, kept together here.
#ifndef COMMAND_BOX_WEB_LOOKUPS_H_
#define COMMAND_BOX_WEB_LOOKUPS_H_

#include <span>
#include <string>

namespace commandbox {

// The browser at its standard place, written with two backslashes at each
// separator (the platform's process start reads them as one) and followed
// by one blank: the browser where no default browser is registered or
// Internet Explorer is the default (default_browser.h). A browser run is
// the browser's prefix followed by the address, nothing quoted, nothing
// encoded.
inline constexpr wchar_t kBrowserPrefix[] =
    L"C:\\\\Program Files\\\\Internet Explorer\\\\IEXPLORE.exe ";

// The platform's open handler: a shell-open run is this prefix followed by
// a path.
inline constexpr wchar_t kShellOpenPrefix[] = L"rundll32.exe url.dll,FileProtocolHandler ";

// Hosts of the outside services.
struct WebHosts {
  // A web search engine whose result page takes the query in "wd".
  const wchar_t* search;
  // One lookup service for IP addresses, mobile numbers (the same host on
  // port 8080) and, on its own host, ID-card numbers.
  const wchar_t* ip_lookup;
  const wchar_t* id_card_lookup;
  // A site that addresses a user's personal page by the numeric account id
  // directly under its root.
  const wchar_t* personal_space;
};
const WebHosts& Hosts();

// The 18 site keywords, opened as "http://www." + keyword + ".com".
std::span<const wchar_t* const> SiteKeywords();
bool IsSiteKeyword(const std::wstring& input);

// The maker's own site (the keyword "qz64" opens it too); the About window
// links to it.
inline constexpr wchar_t kMakerSite[] = L"http://www.qz64.com";

std::wstring SearchAddress(const std::wstring& input);
std::wstring SiteAddress(const std::wstring& keyword);
std::wstring IpLookupAddress(const std::wstring& input);
std::wstring AccountPageAddress(const std::wstring& input);
std::wstring MobileLookupAddress(const std::wstring& input);
std::wstring IdCardLookupAddress(const std::wstring& input);

// The command line of a browser run.
std::wstring BrowserCommandLine(const std::wstring& address);

}  // namespace commandbox

#endif  // COMMAND_BOX_WEB_LOOKUPS_H_
