// The four exports a host mail program binds by name.
#define ROSTERKIT_BUILD
#include "rosterkit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "find_search.h"
#include "mail_file.h"

using namespace rosterkit;

namespace {

// Library-wide, from load to unload; only ever added to or raised.
std::int32_t g_messageCount = 0;
std::int32_t g_highestNumber = 0;

void AddToCount() { g_messageCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(g_messageCount) + 1u); }

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

void EmptyList(HWND listBox) {
  if (SendMessageA(listBox, LB_GETCOUNT, 0, 0) > 0) SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
}

enum class TreeAction { Count, Highest, List };

// Walks `folder` + "*" depth first. Returns whether the search found anything.
// A subfolder whose pattern would pass the platform's path limit cannot be
// searched and is left out.
bool WalkTree(const std::string& pattern, TreeAction action, HWND listBox) {
  if (pattern.empty() || pattern.size() > kTreePathLimit) return false;
  FindSearch search(pattern.c_str());
  if (!search.Found()) return false;
  const std::string folder = pattern.substr(0, pattern.size() - 1);
  do {
    const char* name = search.name();
    if (search.IsFolder()) {
      if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
        WalkTree(folder + name + "\\*", action, listBox);
      }
      continue;
    }
    if (!IsMessageFileName(name)) continue;
    switch (action) {
      case TreeAction::Count:
        AddToCount();
        break;
      case TreeAction::Highest:
        g_highestNumber = std::max(g_highestNumber, LeadingMessageNumber(name));
        break;
      case TreeAction::List: {
        const std::string path = folder + name;
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
        AddToCount();
        break;
      }
    }
  } while (search.Next());
  return true;
}

}  // namespace

extern "C" int WINAPI AddListMail(HWND listBox, const char* pattern, const char* folder, int noUnreadMark) {
  EmptyList(listBox);
  if (!pattern || !folder) return 0;
  FindSearch search(pattern);
  if (!search.Found()) return 0;
  int entries = 0;
  std::size_t longest = 0;
  do {
    ++entries;
    if (search.IsFolder()) continue;
    const std::string path = std::string(folder) + search.name();
    // A path past the working limit is treated like a file that cannot be opened.
    if (path.size() > kMailPathLimit) return 1;
    MailLineReader reader(path.c_str());
    if (!reader.IsOpen()) return 1;
    MailSummary summary(noUnreadMark == 1);
    std::string_view line;
    while (reader.Next(line) && summary.Feed(line)) {
    }
    const std::string text = summary.Line(search.name(), IsLeadByte);
    SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    longest = std::max(longest, text.size());
  } while (search.Next());
  SendMessageA(listBox, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(longest * 6), 0);
  return entries;
}

extern "C" int WINAPI DirectoryFCount(const char* folderPattern) {
  if (!folderPattern || !WalkTree(folderPattern, TreeAction::Count, nullptr)) return 0;
  return g_messageCount;
}

extern "C" int WINAPI RetMaxFName(const char* folderPattern) {
  if (!folderPattern || !WalkTree(folderPattern, TreeAction::Highest, nullptr)) return 0;
  return g_highestNumber;
}

extern "C" int WINAPI SendFileToList(HWND listBox, const char* folderPattern) {
  EmptyList(listBox);
  if (!folderPattern || !WalkTree(folderPattern, TreeAction::List, listBox)) return 0;
  return g_messageCount;
}
