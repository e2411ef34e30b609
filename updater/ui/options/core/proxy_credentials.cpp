#include "ui/options/core/proxy_credentials.h"

#include <cwchar>
#include <vector>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/password_scrambler.h"

namespace qxu {

void PasswordForDisplay(const ProxyCredentialFields& fields, wchar_t* out, std::size_t outChars) {
  if (!out || outChars == 0) return;
  out[0] = L'\0';
  const wchar_t* plain = fields.password ? *fields.password : nullptr;
  if (plain && *plain) {
    std::size_t length = std::wcslen(plain);
    if (length >= outChars) length = outChars - 1;
    std::wmemcpy(out, plain, length);
    out[length] = L'\0';
    return;
  }
  const wchar_t* scrambled = fields.passwordScrambled ? *fields.passwordScrambled : nullptr;
  if (scrambled && *scrambled && !UnscramblePassword(scrambled, out, outChars)) out[0] = L'\0';
}

int TakeProxyCredentials(const ProxyCredentialFields& fields, const wchar_t* user,
                         const wchar_t* password) {
  if (fields.user) *fields.user = ReplaceString(*fields.user, user);
  if (!fields.password || !fields.passwordScrambled) return 1;
  *fields.password = ReplaceString(*fields.password, password);
  FreeString(*fields.passwordScrambled);
  *fields.passwordScrambled = nullptr;
  if (!*fields.password) return 1;
  std::vector<wchar_t> scrambled(ScrambledBufferSize(std::wcslen(*fields.password)), L'\0');
  if (!ScramblePassword(*fields.password, scrambled.data(), scrambled.size())) return 0;
  *fields.passwordScrambled = DupString(scrambled.data());
  return *fields.passwordScrambled ? 1 : 0;
}

}  // namespace qxu
