#include "ansi_path.h"

namespace vantilo {

bool IsLeadByte932(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t FileNameStart(const std::string& path, LeadByteTest lead) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (lead(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') start = i + 1;
  }
  return start;
}

std::string FolderPart(const std::string& path, LeadByteTest lead) {
  return path.substr(0, FileNameStart(path, lead));
}

std::string NamePart(const std::string& path, LeadByteTest lead) {
  return path.substr(FileNameStart(path, lead));
}

namespace {
// Position of the extension's dot within path, or npos.
std::size_t ExtensionDot(const std::string& path, LeadByteTest lead) {
  const std::size_t start = FileNameStart(path, lead);
  std::size_t dot = std::string::npos;
  for (std::size_t i = start; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (lead(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '.') dot = i;
  }
  return dot;
}
}  // namespace

std::string ExtensionOf(const std::string& path, LeadByteTest lead) {
  const std::size_t dot = ExtensionDot(path, lead);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string ReplaceExtension(const std::string& path, const std::string& ext, LeadByteTest lead) {
  const std::size_t dot = ExtensionDot(path, lead);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool HasPictureExtension(const std::string& path, LeadByteTest lead) {
  const std::string ext = ExtensionOf(path, lead);
  for (const char* known : {".jpg", ".jpeg", ".gif", ".png", ".bmp"})
    if (EqualsIgnoreAsciiCase(ext, known)) return true;
  return false;
}

}  // namespace vantilo
