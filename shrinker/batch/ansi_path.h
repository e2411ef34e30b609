// Path pieces of narrow (ANSI) file names. A trail byte of a double-byte
// character may be 0x5C or 0x2E, so every scan skips whole characters.
#pragma once
#include <string>

namespace vantilo {

// Tells whether a byte starts a double-byte character in the active code page.
using LeadByteTest = bool (*)(unsigned char);

bool IsLeadByte932(unsigned char b);

// Index just past the last '\', '/' or ':' outside a double-byte character
// (0 when there is none): where the file-name part starts.
std::size_t FileNameStart(const std::string& path, LeadByteTest lead = IsLeadByte932);

// Folder part with its trailing separator, and the file-name part.
std::string FolderPart(const std::string& path, LeadByteTest lead = IsLeadByte932);
std::string NamePart(const std::string& path, LeadByteTest lead = IsLeadByte932);

// The extension with its dot ("" when the name has none).
std::string ExtensionOf(const std::string& path, LeadByteTest lead = IsLeadByte932);

// The path with its extension replaced (or appended when it has none).
std::string ReplaceExtension(const std::string& path, const std::string& ext,
                             LeadByteTest lead = IsLeadByte932);

// ".jpg", ".jpeg", ".gif", ".png" or ".bmp" in any letter case.
bool HasPictureExtension(const std::string& path, LeadByteTest lead = IsLeadByte932);

bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b);

}  // namespace vantilo
