// libjpeg error handling that returns to the caller instead of ending the
// process. The frames between a Trap's setjmp and libjpeg's error call hold
// only trivially destructible objects, so the longjmp skips no destructor.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vantilo {

struct JpegTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

// Installs the trap as cinfo's error manager: errors and a truncated input
// jump back; other warnings and all messages stay silent.
void InstallJpegTrap(jpeg_common_struct* cinfo, JpegTrap* trap);

}  // namespace vantilo
