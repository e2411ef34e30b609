#include "ui/mainwindow/core/end_of_run.h"

namespace qxu {

bool ShouldOpenRestart(const wchar_t* restartProgram, int noRestart, int updatedCount) {
  if (!restartProgram || !*restartProgram) return false;
  return noRestart == 0 || updatedCount > 0;
}

bool ShouldDeleteDescription(const wchar_t* settingFile, int deleteSetting, bool fileExists) {
  return settingFile && *settingFile && deleteSetting == 1 && fileExists;
}

}  // namespace qxu
