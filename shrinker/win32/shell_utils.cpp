#include "shell_utils.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "ansi_path.h"
#include "handles.h"

namespace vantilo {

std::string DesktopFolder() {
  std::string folder;
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &raw) == ERROR_SUCCESS) {
    RegKey key(raw);
    char value[MAX_PATH * 2];
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key.Get(), "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      value[size] = '\0';
      folder = value;
    }
  }
  return folder + "\\";
}

bool CreateDesktopShortcut(const std::string& name, const std::string& programPath) {
  const std::string linkPath = DesktopFolder() + name + ".lnk";
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())))
    return false;
  link->SetPath(programPath.c_str());
  link->SetWorkingDirectory(FolderPart(programPath, [](unsigned char b) { return IsDBCSLeadByte(b) != FALSE; })
                                .c_str());
  link->SetDescription(name.c_str());
  ComPtr<IPersistFile> file;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) {
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, 255);
    file->Save(wide, TRUE);
  }
  return true;
}

void OpenHelp(const std::string& programPath) {
  const std::string page =
      FolderPart(programPath, [](unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }) + "help\\help.html";
  ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantilo
