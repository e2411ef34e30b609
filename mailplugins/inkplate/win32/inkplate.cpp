// Inkplate.dll: the PrintChar export that a host mail program binds by name.
#include "inkplate.h"

#include "message_reader.h"
#include "print_dialog.h"
#include "print_document.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

extern "C" int WINAPI PrintChar(LPCSTR file, int pageHeight, int printAll, HWND owner) {
  inkplate::MessageReader reader(IsAnsiLeadByte);
  if (!reader.Open(file)) return 1;
  inkplate::OwnedDc dc = inkplate::ShowPrintDialog(owner);
  if (!dc) return 1;
  // A document that never started or never ended printed nothing.
  return inkplate::PrintMessageDocument(dc.get(), reader, pageHeight, printAll != 0) ? 0 : 1;
}
