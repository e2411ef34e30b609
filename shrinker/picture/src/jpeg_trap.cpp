#include "jpeg_trap.h"

#include <jerror.h>

namespace vantilo {

namespace {

extern "C" void TrapErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegTrap*>(cinfo->err)->jump, 1);
}

extern "C" void TrapEmitMessage(j_common_ptr cinfo, int level) {
  // The memory source pads a cut-off file with a fake end marker and only
  // warns; a truncated picture is a failed load, so stop right there.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) TrapErrorExit(cinfo);
  if (level < 0) cinfo->err->num_warnings++;
}

extern "C" void TrapOutputMessage(j_common_ptr) {}

}  // namespace

void InstallJpegTrap(jpeg_common_struct* cinfo, JpegTrap* trap) {
  cinfo->err = jpeg_std_error(&trap->manager);
  trap->manager.error_exit = TrapErrorExit;
  trap->manager.emit_message = TrapEmitMessage;
  trap->manager.output_message = TrapOutputMessage;
}

}  // namespace vantilo
