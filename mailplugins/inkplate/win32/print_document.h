#pragma once

#include <windows.h>

namespace inkplate {

class MessageReader;

// Prints the reader's mail as the document "TEST PRINT" on a device context
// the caller owns. A failing document, page or text call does not stop the
// job; the whole file is always laid out.
void PrintMessageDocument(HDC dc, MessageReader& reader, int pageHeight, bool printAll);

}  // namespace inkplate
