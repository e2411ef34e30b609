// Where the output of one picture goes, and the page line that records it.
#pragma once
#include <string>

#include "ansi_path.h"

namespace vantilo {

enum class Naming { Affix, Folder };

struct NamingChoice {
  Naming mode = Naming::Folder;
  int affixPosition = 0;   // affix naming: 0 before the name, 1 after, else none
  std::string affix;       // already defaulted by EffectiveAffix
  std::string folderName;  // folder naming
};

struct OutputPlan {
  bool write = false;          // false: nothing is written, no page line
  std::string outputPath;
  std::string folderToCreate;  // folder naming: the subfolder (no trailing separator)
  std::string pageFolder;      // with trailing separator
  std::string pageLine;        // without line end
};

// The affix used when the field is empty.
std::string EffectiveAffix(const std::string& fieldText);

// Output of the picture whose output base is outputBase (the source path
// with ".jpg" as its extension).
OutputPlan PlanOutput(const std::string& outputBase, const NamingChoice& choice,
                      LeadByteTest lead = IsLeadByte932);

// True when folder, after resolving "." and ".." and the trailing dots and
// spaces the file system drops, names the same folder as sourceFolder.
// Letter case of ASCII letters is ignored, as the file system does.
bool SameFolderByName(const std::string& folder, const std::string& sourceFolder,
                      LeadByteTest lead = IsLeadByte932);

// A file name as it goes into a page line's link or image source: "%", "#"
// and "?" as URL escapes, "&", "<", ">" and '"' as markup references, every
// other byte (double-byte characters whole) as it is.
std::string PageLinkText(const std::string& name, LeadByteTest lead = IsLeadByte932);

// "yyyymmdd.html", the page file of one day.
std::string PageFileName(int year, int month, int day);

}  // namespace vantilo
