#pragma once
// Key paths and values of the ".quf" file type, formed in the fixed text
// buffers of the registry code. Texts that would not fit are refused rather
// than cut, so a truncated path never names some other key.
#include <cstddef>

namespace qxu {

// Characters of every key path and value buffer, terminator included.
inline constexpr std::size_t kAssociationTextChars = 1024;
// Characters of the buffers handed to the short-path conversion.
inline constexpr std::size_t kShortPathChars = 260;

// "Software\Classes\<name>" for HKEY_CURRENT_USER. False when it does not fit.
bool FormatClassesKeyPath(const wchar_t* name, wchar_t* out, std::size_t outChars);

// "<path>,<index>" for the DefaultIcon value.
bool FormatIconValue(const wchar_t* path, int index, wchar_t* out, std::size_t outChars);

// The shell's command line for the type. On the NT family a command that
// already starts with a double quote is a complete command line and stays as
// it is; any other command is a program path, quoted and followed by the
// quoted file placeholder.
bool FormatCommandValue(const wchar_t* command, bool ntPlatform, wchar_t* out,
                        std::size_t outChars);

// Copies text when it fits (a missing text gives the empty text).
bool CopyAssociationText(const wchar_t* text, wchar_t* out, std::size_t outChars);

}  // namespace qxu
