#pragma once

#include <windows.h>

namespace inkplate {

class MessageReader;

// The mail as the document "TEST PRINT" on a printer device context the
// caller owns. False when the document could not be started or ended, so
// that nothing reached the printer.
bool PrintMessageDocument(HDC dc, MessageReader& reader, int pageHeight, bool printAll);

// The pages alone: first page, the lines and page breaks, last page end. A
// failing page or text call does not stop them; the whole file is laid out.
void DrawMessagePages(HDC dc, MessageReader& reader, int pageHeight, bool printAll);

}  // namespace inkplate
