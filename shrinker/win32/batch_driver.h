// The batch: drops, and the per-file pipeline from name lookup to page line.
#pragma once
#include <windows.h>

#include <string>

#include "picture/work_picture.h"
#include "settings_model.h"

namespace vantilo {

// What the batch needs from the window. Settings are read from the
// controls each time a step needs them, so changes made while a batch runs
// apply from the next step on.
class BatchHost {
 public:
  virtual ~BatchHost() = default;
  virtual ShrinkSettings CurrentSettings() = 0;
  // Shows the picture in Image1 and handles pending window events once.
  virtual void ShowPreview(const WorkPicture& picture) = 0;
  virtual void HidePreview() = 0;
  virtual void SetAffixText(const std::string& text) = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
};

class BatchDriver {
 public:
  explicit BatchDriver(BatchHost& host) : host_(host) {}

  // One drop: every path in drop order; always releases the drop handle.
  void ProcessDroppedFiles(HDROP drop, WorkPicture& picture);

  // One path. Any failure skips the rest of this file silently.
  void ProcessFile(const std::string& path, WorkPicture& picture);

 private:
  bool RunPipeline(const std::string& source, WorkPicture& picture);
  bool FitToBox(WorkPicture& picture);
  bool EncodeAndSave(const std::string& outputBase, const std::string& source, const WorkPicture& picture);

  BatchHost& host_;
};

}  // namespace vantilo
