// The batch: drops and command lines, and the per-file pipeline from name
// lookup to page line.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "file_system.h"
#include "picture/shrink_engine.h"
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
  // Shows the preview (kPreviewWidth x kPreviewHeight) in Image1 and
  // handles pending window events once.
  virtual void ShowPreview(const WorkPicture& preview) = 0;
  virtual void HidePreview() = 0;
  virtual void SetAffixText(const std::string& text) = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
};

// One batch: its sources in order (after the name lookup; none where a path
// could not be read) and what they are on disk, so that no output of the
// batch replaces one of them.
struct Batch {
  std::vector<std::optional<std::string>> sources;
  std::vector<FileId> sourceIds;
  ShrinkEngine engine;

  explicit Batch(const std::vector<std::optional<std::string>>& paths);
  bool IsSource(const std::string& path) const;
  // Source i is there and has a picture's extension.
  bool IsPicture(std::size_t i) const;
};

// Image1's size: the preview is made for it.
constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 150;

class BatchDriver {
 public:
  explicit BatchDriver(BatchHost& host) : host_(host) {}

  // One drop: every path in drop order, with the progress bar; always
  // releases the drop handle.
  void ProcessDroppedFiles(HDROP drop);

  // The command line's paths (already absolute), without the progress bar.
  void ProcessPaths(const std::vector<std::string>& paths);

 private:
  void Run(Batch& batch, bool progress);
  ShrinkOptions OptionsNow();
  // Writes the file under its output name and adds the page line.
  bool Save(const Batch& batch, const std::string& outputBase, const std::string& source,
            const std::vector<std::uint8_t>& bytes);

  BatchHost& host_;
};

}  // namespace vantilo
