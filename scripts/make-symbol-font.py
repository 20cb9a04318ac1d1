#!/usr/bin/python3
"""Makes a copy of a symbol font whose character map is the one Windows
programs expect of "Symbol": a Windows symbol map (platform 3, encoding 0)
that places the glyph of byte B at U+F000+B, and the symbol code page in the
OS/2 table. GDI looks up the bytes of a SYMBOL_CHARSET font there; a font that
maps them only as Unicode or Macintosh codes draws the Latin-1 letters
instead (0xEB as a letter e with diaeresis rather than a bracket piece).

usage: make-symbol-font.py SOURCE.otf OUTPUT.otf FAMILY
The source must map each byte of its symbol encoding to its glyph directly
(as Standard Symbols PS does, in its Unicode and Windows tables).
"""
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4


def main(source, output, family):
    font = TTFont(source)
    by_byte = {}
    for table in font["cmap"].tables:
        for code, glyph in table.cmap.items():
            if 0x20 <= code <= 0xFF:
                by_byte.setdefault(code, glyph)
    for needed in (0x20, 0xA5, 0xEB, 0xFB):
        if needed not in by_byte:
            sys.exit(f"{source}: no glyph for byte 0x{needed:02X}")

    symbol_map = cmap_format_4(4)
    symbol_map.platformID, symbol_map.platEncID, symbol_map.language = 3, 0, 0
    symbol_map.cmap = {0xF000 + code: glyph for code, glyph in by_byte.items()}
    font["cmap"].tables = [symbol_map]

    os2 = font["OS/2"]
    if os2.version < 1:
        os2.version = 1
    os2.ulCodePageRange1 = 1 << 31  # the symbol character set
    os2.ulCodePageRange2 = 0
    os2.usFirstCharIndex = 0xF000 + min(by_byte)
    os2.usLastCharIndex = 0xF000 + max(by_byte)

    names = font["name"]
    postscript = family.replace(" ", "")
    for name_id, text in ((1, family), (2, "Regular"), (3, postscript), (4, family),
                          (6, postscript), (16, family), (17, "Regular")):
        names.removeNames(nameID=name_id)
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    if "CFF " in font:
        cff = font["CFF "].cff
        cff.fontNames = [postscript]
        top = cff.topDictIndex[0]
        top.FamilyName = family
        top.FullName = family
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
