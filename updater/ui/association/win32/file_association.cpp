#include "ui/association/win32/file_association.h"

#include <shlobj.h>

#include "ui/association/core/association_text.h"
#include "ui/association/win32/registry_key.h"

namespace qxu {
namespace {

DWORD PlatformId() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
  return info.dwPlatformId;
}

// Short form for platforms whose shell wants 8.3 names; the path as given
// when it has none or it does not fit.
bool ShortPathOrSame(const wchar_t* path, wchar_t* out) {
  wchar_t longPath[kShortPathChars];
  if (!CopyAssociationText(path, longPath, kShortPathChars)) return false;
  DWORD length = GetShortPathNameW(longPath, out, kShortPathChars);
  if (length == 0 || length >= kShortPathChars) return CopyAssociationText(longPath, out, kShortPathChars);
  return true;
}

void AnnounceChange() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr); }

// Deletes the extension, then the type's keys bottom-up, under root. 1 when
// the type's key went.
int RemoveUnder(HKEY root, const wchar_t* typeName, const wchar_t* extension) {
  if (RegDeleteKeyW(root, extension) != ERROR_SUCCESS || !typeName) return 0;
  RegistryKey type;
  if (!type.Open(root, typeName, KEY_ALL_ACCESS)) return 0;
  RegDeleteKeyW(type.get(), L"DefaultIcon");
  {
    RegistryKey shell;
    if (shell.Open(type.get(), L"shell", KEY_ALL_ACCESS)) {
      {
        RegistryKey open;
        if (open.Open(shell.get(), L"open", KEY_ALL_ACCESS)) RegDeleteKeyW(open.get(), L"command");
      }
      RegDeleteKeyW(shell.get(), L"open");
    }
  }
  RegDeleteKeyW(type.get(), L"shell");
  type.reset();
  return RegDeleteKeyW(root, typeName) == ERROR_SUCCESS ? 1 : 0;
}

// The key under HKEY_CURRENT_USER\Software\Classes, else HKEY_CLASSES_ROOT.
bool OpenForReading(RegistryKey& key, const wchar_t* name) {
  wchar_t path[kAssociationTextChars];
  if (!FormatClassesKeyPath(name, path, kAssociationTextChars)) return false;
  return key.Open(HKEY_CURRENT_USER, path, KEY_READ) ||
         key.Open(HKEY_CLASSES_ROOT, name, KEY_READ);
}

}  // namespace

int RegisterAssociation(const wchar_t* typeName, const wchar_t* typeDescription,
                        const wchar_t* verbCaption, const wchar_t* command,
                        const wchar_t* extension, const wchar_t* iconFile, int iconIndex) {
  return RegisterAssociationForPlatform(PlatformId(), typeName, typeDescription, verbCaption,
                                        command, extension, iconFile, iconIndex);
}

int RegisterAssociationForPlatform(DWORD platformId, const wchar_t* typeName,
                                   const wchar_t* typeDescription, const wchar_t* verbCaption,
                                   const wchar_t* command, const wchar_t* extension,
                                   const wchar_t* iconFile, int iconIndex) {
  const bool nt = platformId == VER_PLATFORM_WIN32_NT;
  wchar_t extensionPath[kAssociationTextChars], typePath[kAssociationTextChars];
  wchar_t description[kAssociationTextChars], caption[kAssociationTextChars];
  wchar_t iconValue[kAssociationTextChars], commandValue[kAssociationTextChars];
  wchar_t shortPath[kShortPathChars];

  // Every text is formed before the first write, so an over-long one leaves
  // the registry untouched.
  if (!FormatClassesKeyPath(extension, extensionPath, kAssociationTextChars) ||
      !FormatClassesKeyPath(typeName, typePath, kAssociationTextChars) ||
      !CopyAssociationText(typeDescription, description, kAssociationTextChars) ||
      !CopyAssociationText(verbCaption, caption, kAssociationTextChars))
    return 0;
  const wchar_t* iconPath = iconFile;
  if (!nt) {
    if (!ShortPathOrSame(iconFile, shortPath)) return 0;
    iconPath = shortPath;
  }
  if (!FormatIconValue(iconPath, iconIndex, iconValue, kAssociationTextChars)) return 0;
  const wchar_t* commandPath = command;
  if (!nt) {
    if (!ShortPathOrSame(command, shortPath)) return 0;
    commandPath = shortPath;
  }
  if (!FormatCommandValue(commandPath, nt, commandValue, kAssociationTextChars)) return 0;

  {
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, extensionPath)) return 0;
    key.SetDefaultText(typeName);
  }
  RegistryKey type;
  if (!type.Create(HKEY_CURRENT_USER, typePath)) return 0;
  type.SetDefaultText(description);
  {
    RegistryKey icon;
    if (!icon.Create(type.get(), L"DefaultIcon")) return 0;
    icon.SetDefaultText(iconValue);
  }
  RegistryKey shell, open, commandKey;
  if (!shell.Create(type.get(), L"shell")) return 0;
  shell.SetDefaultText(L"open");
  if (!open.Create(shell.get(), L"open")) return 0;
  open.SetDefaultText(caption);
  if (!commandKey.Create(open.get(), L"command")) return 0;
  commandKey.SetDefaultText(commandValue);
  commandKey.reset();
  open.reset();
  shell.reset();
  type.reset();
  AnnounceChange();
  return 1;
}

int RemoveAssociation(const wchar_t* typeName, const wchar_t* extension) {
  int result = 0;
  if (!extension || !*extension) {
    AnnounceChange();
    return 0;
  }
  if (typeName && !*typeName) typeName = nullptr;
  if (RemoveUnder(HKEY_CLASSES_ROOT, typeName, extension)) result = 1;
  RegistryKey classes;
  if (classes.Open(HKEY_CURRENT_USER, L"Software\\Classes", KEY_ALL_ACCESS) &&
      RemoveUnder(classes.get(), typeName, extension))
    result = 1;
  AnnounceChange();
  return result;
}

int QueryAssociation(const wchar_t* typeName, const wchar_t* extension) {
  if (!extension || !*extension) return 0;
  {
    RegistryKey key;
    if (!OpenForReading(key, extension)) return 0;
  }
  if (!typeName || !*typeName) return 0;
  RegistryKey type, shell, open, command;
  if (!OpenForReading(type, typeName)) return 0;
  return shell.Open(type.get(), L"shell", KEY_READ) && open.Open(shell.get(), L"open", KEY_READ) &&
                 command.Open(open.get(), L"command", KEY_READ)
             ? 1
             : 0;
}

}  // namespace qxu
