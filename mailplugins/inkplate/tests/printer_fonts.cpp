// Part of the print queue fixture, run before the host test: Wine's
// PostScript driver downloads the default face of a Japanese code page as a
// TrueType font whose glyphs carry CID names, which no PDF reader turns back
// into text; the printer's own Courier keeps the printed lines readable. The
// driver reads this table once per process, so a process of its own sets it.
#include <windows.h>

#include <cstdio>
#include <initializer_list>

int main() {
  char name[256] = {};
  DWORD size = sizeof name;
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!GetDefaultPrinterA(name, &size) || !OpenPrinterA(name, &printer, &access)) {
    std::fprintf(stderr, "no default printer to set up\n");
    return 1;
  }
  char courier[] = "Courier";
  int failed = 0;
  for (const char* face : {"System", "Courier", "Times"})
    failed += SetPrinterDataExA(printer, "PrinterDriverData\\FontSubTable", face, REG_SZ,
                                reinterpret_cast<BYTE*>(courier), sizeof courier) != ERROR_SUCCESS;
  ClosePrinter(printer);
  std::printf("%s: device Courier for the default faces\n", name);
  return failed ? 1 : 0;
}
