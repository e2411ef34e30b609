#include "ui/association/win32/file_association.h"

#include <shlobj.h>

#include "ui/association/core/association_text.h"
#include "ui/association/win32/registry_access.h"

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
  RegKey type;
  if (!OpenRegistryKey(type, root, typeName, KEY_ALL_ACCESS)) return 0;
  RegDeleteKeyW(type.get(), L"DefaultIcon");
  {
    RegKey shell;
    if (OpenRegistryKey(shell, type.get(), L"shell", KEY_ALL_ACCESS)) {
      {
        RegKey open;
        if (OpenRegistryKey(open, shell.get(), L"open", KEY_ALL_ACCESS))
          RegDeleteKeyW(open.get(), L"command");
      }
      RegDeleteKeyW(shell.get(), L"open");
    }
  }
  RegDeleteKeyW(type.get(), L"shell");
  type.reset();
  return RegDeleteKeyW(root, typeName) == ERROR_SUCCESS ? 1 : 0;
}

// The key under HKEY_CURRENT_USER\Software\Classes, else HKEY_CLASSES_ROOT.
bool OpenForReading(RegKey& key, const wchar_t* name) {
  wchar_t path[kAssociationTextChars];
  if (!FormatClassesKeyPath(name, path, kAssociationTextChars)) return false;
  return OpenRegistryKey(key, HKEY_CURRENT_USER, path, KEY_READ) ||
         OpenRegistryKey(key, HKEY_CLASSES_ROOT, name, KEY_READ);
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
    RegKey key;
    if (!CreateRegistryKey(key, HKEY_CURRENT_USER, extensionPath)) return 0;
    SetDefaultText(key, typeName);
  }
  RegKey type;
  if (!CreateRegistryKey(type, HKEY_CURRENT_USER, typePath)) return 0;
  SetDefaultText(type, description);
  {
    RegKey icon;
    if (!CreateRegistryKey(icon, type.get(), L"DefaultIcon")) return 0;
    SetDefaultText(icon, iconValue);
  }
  RegKey shell, open, commandKey;
  if (!CreateRegistryKey(shell, type.get(), L"shell")) return 0;
  SetDefaultText(shell, L"open");
  if (!CreateRegistryKey(open, shell.get(), L"open")) return 0;
  SetDefaultText(open, caption);
  if (!CreateRegistryKey(commandKey, open.get(), L"command")) return 0;
  SetDefaultText(commandKey, commandValue);
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
  RegKey classes;
  if (OpenRegistryKey(classes, HKEY_CURRENT_USER, L"Software\\Classes", KEY_ALL_ACCESS) &&
      RemoveUnder(classes.get(), typeName, extension))
    result = 1;
  AnnounceChange();
  return result;
}

int QueryAssociation(const wchar_t* typeName, const wchar_t* extension) {
  if (!extension || !*extension) return 0;
  {
    RegKey key;
    if (!OpenForReading(key, extension)) return 0;
  }
  if (!typeName || !*typeName) return 0;
  RegKey type, shell, open, command;
  if (!OpenForReading(type, typeName)) return 0;
  return OpenRegistryKey(shell, type.get(), L"shell", KEY_READ) &&
                 OpenRegistryKey(open, shell.get(), L"open", KEY_READ) &&
                 OpenRegistryKey(command, open.get(), L"command", KEY_READ)
             ? 1
             : 0;
}

}  // namespace qxu
