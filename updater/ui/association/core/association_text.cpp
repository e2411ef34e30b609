#include "ui/association/core/association_text.h"

#include <cwchar>
#include <string>

namespace qxu {
namespace {

bool Store(const std::wstring& text, wchar_t* out, std::size_t outChars) {
  if (!out || text.size() + 1 > outChars) return false;
  text.copy(out, text.size());
  out[text.size()] = L'\0';
  return true;
}

std::wstring Text(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

}  // namespace

bool FormatClassesKeyPath(const wchar_t* name, wchar_t* out, std::size_t outChars) {
  if (!name || !*name) return false;
  return Store(L"Software\\Classes\\" + Text(name), out, outChars);
}

bool FormatIconValue(const wchar_t* path, int index, wchar_t* out, std::size_t outChars) {
  return Store(Text(path) + L"," + std::to_wstring(index), out, outChars);
}

bool FormatCommandValue(const wchar_t* command, bool ntPlatform, wchar_t* out,
                        std::size_t outChars) {
  std::wstring text = Text(command);
  if (ntPlatform && !text.empty() && text[0] == L'"') return Store(text, out, outChars);
  return Store(L"\"" + text + L"\" \"%1\"", out, outChars);
}

bool CopyAssociationText(const wchar_t* text, wchar_t* out, std::size_t outChars) {
  return Store(Text(text), out, outChars);
}

}  // namespace qxu
