// A minimal host: loads Rosterkit.dll beside it, lists a mail folder and its
// tree in a hidden list box and prints what the library produced as UTF-8.
// Usage: rosterkit_demo FOLDER   (FOLDER ends without a backslash)
#include <windows.h>

#include <cstdio>
#include <string>

#include "rosterkit.h"

namespace {

template <typename Proc>
Proc Bind(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void PrintAnsi(const std::string& text) {
  int wide = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring w(wide, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &w[0], wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
  std::printf("  %s\n", utf8.c_str());
}

void PrintList(HWND list) {
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string text(SendMessageA(list, LB_GETTEXTLEN, i, 0), '\0');
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    PrintAnsi(text);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rosterkit_demo FOLDER\n");
    return 2;
  }
  char self[MAX_PATH];
  std::string dll(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "Rosterkit.dll";
  HMODULE library = LoadLibraryA(dll.c_str());
  if (!library) {
    std::fprintf(stderr, "cannot load %s\n", dll.c_str());
    return 1;
  }
  auto addListMail = Bind<AddListMailProc>(library, "AddListMail");
  auto directoryFCount = Bind<DirectoryFCountProc>(library, "DirectoryFCount");
  auto retMaxFName = Bind<RetMaxFNameProc>(library, "RetMaxFName");
  auto sendFileToList = Bind<SendFileToListProc>(library, "SendFileToList");
  HWND list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_SORT, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);

  const std::string folder = std::string(argv[1]) + "\\";
  const std::string tree = folder + "*";
  int entries = addListMail(list, (folder + "*.txt").c_str(), folder.c_str(), 0);
  std::printf("AddListMail: %d entries, extent %d\n", entries,
              static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)));
  PrintList(list);
  std::printf("DirectoryFCount: %d\n", directoryFCount(tree.c_str()));
  std::printf("RetMaxFName: %d (next mail number %d)\n", retMaxFName(tree.c_str()), retMaxFName(tree.c_str()) + 1);
  std::printf("SendFileToList: %d\n", sendFileToList(list, tree.c_str()));
  PrintList(list);
  DestroyWindow(list);
  FreeLibrary(library);
  return 0;
}
