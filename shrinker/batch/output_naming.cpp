#include "output_naming.h"

#include <cstdio>
#include <vector>

namespace vantilo {

namespace {
const char kLinkOpen[] = "<a href=\"";
const char kUpLinkOpen[] = "<a href=\"../";
const char kMiddle[] = "\"><img src=\"";
const char kClose[] = "\" border=\"0\"></a>";

// Path components with "." and ".." applied; a leading drive or share stays
// as the first component.
std::vector<std::string> Components(const std::string& path, LeadByteTest lead) {
  std::vector<std::string> parts;
  std::string cur;
  auto flush = [&] {
    if (cur == "..") {
      if (parts.size() > 1) parts.pop_back();
    } else {
      // The file system drops trailing dots and spaces of a name.
      std::size_t end = cur.size();
      while (end > 0 && (cur[end - 1] == '.' || cur[end - 1] == ' ')) --end;
      if (end > 0) parts.push_back(cur.substr(0, end));
    }
    cur.clear();
  };
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (lead(c) && i + 1 < path.size()) {
      cur += path[i];
      cur += path[++i];
    } else if (c == '\\' || c == '/') {
      flush();
    } else {
      cur += path[i];
    }
  }
  flush();
  return parts;
}
}  // namespace

std::string PageLinkText(const std::string& name, LeadByteTest lead) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (lead(c) && i + 1 < name.size()) {
      out += name[i];
      out += name[++i];
      continue;
    }
    switch (c) {
      case '%': out += "%25"; break;
      case '#': out += "%23"; break;
      case '?': out += "%3F"; break;
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += name[i];
    }
  }
  return out;
}

std::string EffectiveAffix(const std::string& fieldText) {
  return fieldText.empty() ? std::string("s-") : fieldText;
}

OutputPlan PlanOutput(const std::string& outputBase, const NamingChoice& choice, LeadByteTest lead) {
  OutputPlan plan;
  const std::string dir = FolderPart(outputBase, lead);
  const std::string name = NamePart(outputBase, lead);
  const std::string ext = ExtensionOf(name, lead);
  const std::string stem = name.substr(0, name.size() - ext.size());
  auto link = [lead](const std::string& text) { return PageLinkText(text, lead); };
  if (choice.mode == Naming::Affix) {
    if (choice.affixPosition == 0) {
      plan.outputPath = dir + choice.affix + name;
      plan.pageLine = kLinkOpen + link(name) + kMiddle + link(choice.affix + name) + kClose;
    } else if (choice.affixPosition == 1) {
      plan.outputPath = dir + stem + choice.affix + ext;
      plan.pageLine = kLinkOpen + link(name) + kMiddle + link(stem + choice.affix + ".jpg") + kClose;
    } else {
      return plan;
    }
    plan.pageFolder = dir;
  } else {
    plan.folderToCreate = dir + choice.folderName;
    plan.outputPath = plan.folderToCreate + "\\" + name;
    plan.pageFolder = plan.folderToCreate + "\\";
    plan.pageLine = kUpLinkOpen + link(name) + kMiddle + link(name) + kClose;
  }
  plan.write = true;
  return plan;
}

bool SameFolderByName(const std::string& folder, const std::string& sourceFolder, LeadByteTest lead) {
  const auto a = Components(folder, lead);
  const auto b = Components(sourceFolder, lead);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!EqualsIgnoreAsciiCase(a[i], b[i])) return false;
  return true;
}

std::string PageFileName(int year, int month, int day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d.html", year, month, day);
  return buf;
}

}  // namespace vantilo
