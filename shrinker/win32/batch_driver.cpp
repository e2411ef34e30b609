#include "batch_driver.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "ansi_path.h"
#include "file_system.h"
#include "handles.h"
#include "int_text.h"
#include "output_naming.h"
#include "picture/jpeg_writer.h"

namespace vantilo {

void DropTraits::Close(HDROP h) { DragFinish(h); }

namespace {

bool AnsiLead(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }


// Restores the progress position even when a file throws.
class ProgressReset {
 public:
  explicit ProgressReset(BatchHost& host) : host_(host) {}
  ~ProgressReset() { host_.SetProgressPosition(0); }
  ProgressReset(const ProgressReset&) = delete;
  ProgressReset& operator=(const ProgressReset&) = delete;

 private:
  BatchHost& host_;
};

}  // namespace

namespace {
// Path i of a drop in the ANSI code page, or nothing when it does not fit the
// 259 characters the batch reads, or when the code page cannot spell it: a
// cut path, or one whose missing characters turned into "?", would be looked
// up as another file.
std::optional<std::string> DroppedPath(HDROP drop, UINT i) {
  const UINT length = DragQueryFileW(drop, i, nullptr, 0);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  std::wstring wide(length + 1, L'\0');
  DragQueryFileW(drop, i, &wide[0], length + 1);
  char narrow[MAX_PATH];
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(length), narrow,
                                    MAX_PATH - 1, nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  return std::string(narrow, static_cast<std::size_t>(n));
}
}  // namespace

Batch::Batch(const std::vector<std::optional<std::string>>& paths) {
  for (const auto& path : paths) {
    if (!path) {
      sources.emplace_back();
      continue;
    }
    sources.push_back(LookUpName(*path));
    FileId id;
    if (FileIdOf(*sources.back(), id)) sourceIds.push_back(id);
  }
}

bool Batch::IsSource(const std::string& path) const {
  FileId id;
  if (!FileIdOf(path, id)) return false;  // not there yet: nobody's source
  for (const FileId& s : sourceIds)
    if (s == id) return true;
  return false;
}

void BatchDriver::ProcessDroppedFiles(HDROP drop) {
  DropHandle owner(drop);
  ProgressReset reset(host_);
  if (DragQueryFileW(drop, 0, nullptr, 0) == 0) return;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  host_.SetProgressRange(static_cast<int>(count));
  std::vector<std::optional<std::string>> paths;
  for (UINT i = 0; i < count; ++i) paths.push_back(DroppedPath(drop, i));
  Batch batch(paths);
  Run(batch, true);
}

void BatchDriver::ProcessPaths(const std::vector<std::string>& paths) {
  Batch batch(std::vector<std::optional<std::string>>(paths.begin(), paths.end()));
  Run(batch, false);
}

bool Batch::IsPicture(std::size_t i) const { return sources[i] && HasPictureExtension(*sources[i], AnsiLead); }

ShrinkOptions BatchDriver::OptionsNow() {
  const ShrinkSettings s = host_.CurrentSettings();
  ShrinkOptions o;
  o.upright = s.rotate;
  o.saturation = s.saturation;
  const Box box = BoxForChoice(s.sizeIndex, s.customX, s.customY);
  o.boxWidth = box.width;  // a side of 0 or below fits nothing: the file fails
  o.boxHeight = box.height;
  o.sharpen = s.sharpen;
  o.strength = s.sharpenStrength;
  o.jpeg.gray = s.gray;
  o.jpeg.progressive = s.progressive;
  // A field that is no integer fails the file, through a quality of 0.
  if (s.qualityMode) {
    const auto quality = ParseInt32(s.quality, IntSyntax::Decimal);
    o.jpeg.quality = quality && *quality >= 1 && *quality <= 100 ? *quality : 0;
  } else if (const auto target = ParseInt32(s.targetSize, IntSyntax::Decimal)) {
    o.targetBytes = std::max<std::int64_t>(0, std::int64_t{*target} * 1024);
  } else {
    o.jpeg.quality = 0;
  }
  o.previewWidth = kPreviewWidth;
  o.previewHeight = kPreviewHeight;
  return o;
}

// Each picture is handed to the engine while the one before is still being
// shrunk, with the settings of that moment; naming and the page line are
// read when its file is written, after its preview, as before.
void BatchDriver::Run(Batch& batch, bool progress) {
  const std::size_t count = batch.sources.size();
  std::vector<ShrinkEngine::Ticket> tickets(count, 0);
  std::size_t submitted = 0;  // pictures up to here are in the engine
  auto submitNext = [&] {
    while (submitted < count && !batch.IsPicture(submitted)) ++submitted;
    if (submitted < count) {
      tickets[submitted] = batch.engine.Submit(*batch.sources[submitted], OptionsNow());
      ++submitted;
    }
  };
  submitNext();
  for (std::size_t i = 0; i < count; ++i) {
    if (progress) host_.SetProgressPosition(static_cast<int>(i));
    if (!batch.IsPicture(i)) continue;
    try {
      WorkPicture preview;
      const bool loaded = batch.engine.WaitLoaded(tickets[i], preview);
      if (submitted <= i + 1) submitNext();
      ShrinkResult result;
      if (!loaded) {
        batch.engine.WaitDone(tickets[i], result);
        continue;
      }
      host_.ShowPreview(preview);
      if (!batch.engine.WaitDone(tickets[i], result)) continue;  // the preview stays
      const std::string& source = *batch.sources[i];
      if (Save(batch, ReplaceExtension(source, ".jpg", AnsiLead), source, result.jpeg)) host_.HidePreview();
    } catch (...) {
      // A file that fails in any way is skipped; the batch goes on.
    }
  }
}

bool BatchDriver::Save(const Batch& batch, const std::string& outputBase, const std::string& source,
                       const std::vector<std::uint8_t>& bytes) {
  ShrinkSettings s = host_.CurrentSettings();
  NamingChoice choice;
  choice.mode = s.folderNaming ? Naming::Folder : Naming::Affix;
  choice.affixPosition = s.affixPosition;
  if (choice.mode == Naming::Affix && s.affix.empty()) {
    host_.SetAffixText(EffectiveAffix(s.affix));
    s = host_.CurrentSettings();
  }
  choice.affix = EffectiveAffix(s.affix);
  choice.folderName = s.folder;
  const OutputPlan plan = PlanOutput(outputBase, choice, AnsiLead);
  if (!plan.write) return true;

  const std::string sourceFolder = FolderPart(source, AnsiLead);
  if (choice.mode == Naming::Folder) {
    // Folder naming writes into a subfolder, never into the source's own.
    if (SameFolderByName(plan.folderToCreate, sourceFolder, AnsiLead)) return false;
    if (!DirectoryExists(plan.folderToCreate)) CreateDirectoryA(plan.folderToCreate.c_str(), nullptr);
    if (SameFile(plan.folderToCreate, sourceFolder)) return false;
  }
  // Whatever the names say, no source of the batch is ever replaced: a
  // later one would be read back as this output, an earlier one is lost.
  if (SameFile(plan.outputPath, source) || batch.IsSource(plan.outputPath)) return false;
  if (!WriteFileBytes(plan.outputPath, bytes)) return false;

  if (s.page) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (!AppendLine(plan.pageFolder + PageFileName(now.wYear, now.wMonth, now.wDay), plan.pageLine)) return false;
  }
  return true;
}

}  // namespace vantilo
