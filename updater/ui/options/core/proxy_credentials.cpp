#include "ui/options/core/proxy_credentials.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "engine/support/core/password_scrambler.h"

namespace qxu {

void PasswordForDisplay(const SettingsOptions& options, wchar_t* out, std::size_t outChars) {
  if (!out || outChars == 0) return;
  out[0] = L'\0';
  if (!options.proxyPassword.empty()) {
    const std::size_t length = std::min(options.proxyPassword.size(), outChars - 1);
    std::wmemcpy(out, options.proxyPassword.c_str(), length);
    out[length] = L'\0';
    return;
  }
  const std::wstring& scrambled = options.proxyPasswordScrambled;
  if (!scrambled.empty() && !UnscramblePassword(scrambled.c_str(), out, outChars)) out[0] = L'\0';
}

int TakeProxyCredentials(SettingsOptions& options, const wchar_t* user, const wchar_t* password) {
  options.proxyUser = user ? user : L"";
  options.proxyPassword = password ? password : L"";
  options.proxyPasswordScrambled.clear();
  if (options.proxyPassword.empty()) return 1;
  std::vector<wchar_t> scrambled(ScrambledBufferSize(options.proxyPassword.size()), L'\0');
  if (!ScramblePassword(options.proxyPassword.c_str(), scrambled.data(), scrambled.size())) return 0;
  options.proxyPasswordScrambled = scrambled.data();
  return 1;
}

}  // namespace qxu
