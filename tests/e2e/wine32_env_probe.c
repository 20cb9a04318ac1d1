/* Reports what a program sees in the 32-bit Wine prefix of wine-env.sh, then
   exits with the code given as its argument (the caller checks that it comes
   back). */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv) {
  OSVERSIONINFOA v;
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  printf("version %lu.%lu platform %lu\n", v.dwMajorVersion, v.dwMinorVersion, v.dwPlatformId);

  /* A window of this program's own connects it to the prefix's desktop. */
  HWND own = CreateWindowA("STATIC", "probe", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
  printf("tray window %s\n", FindWindowA("Shell_TrayWnd", NULL) ? "yes" : "no");

  HDC dc = GetDC(own);
  HFONT sym = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Symbol");
  HGDIOBJ old = SelectObject(dc, sym);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  WORD glyphs[3];
  GetGlyphIndicesA(dc, "\xEB\xFB\xA5", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  int found = 0;
  for (int i = 0; i < 3; i++) found += glyphs[i] != 0xFFFF && glyphs[i] != 0;
  printf("symbol charset %d glyphs %d of 3\n", tm.tmCharSet, found);
  SelectObject(dc, old);
  DeleteObject(sym);
  ReleaseDC(own, dc);
  DestroyWindow(own);
  return argc > 1 ? atoi(argv[1]) : 0;
}
