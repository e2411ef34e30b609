#pragma once
// What the proxy dialog does with the texts it shows and reads: the user
// name and the password in plain and scrambled form.
#include <cstddef>

#include "engine/settings/core/updater_settings.h"

namespace qxu {

// Characters of the dialog's edit buffers, terminator included.
inline constexpr std::size_t kProxyTextChars = 1024;

// The password to show: the plain one when set, else the scrambled one made
// plain. Empty when there is none or it does not decode.
void PasswordForDisplay(const SettingsOptions& options, wchar_t* out, std::size_t outChars);

// Takes the edits' texts: a non-empty user replaces the user, an empty one
// clears it; a non-empty password replaces the plain password and its
// scrambled form, an empty one clears both. A password that cannot be
// scrambled (a blank or a character outside 33..126) keeps no scrambled form,
// so the file never holds a stale one. Returns 1 when a given password was
// also scrambled (or none was given), 0 when it could not be.
int TakeProxyCredentials(SettingsOptions& options, const wchar_t* user, const wchar_t* password);

}  // namespace qxu
