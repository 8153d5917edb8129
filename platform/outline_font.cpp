// outline_font.cpp - the GDI font calls and wglUseFontOutlinesA over fontconfig and
// FreeType: CreateFontA finds the face, SelectObject puts it in a device context, and
// wglUseFontOutlinesA compiles one extruded glyph per character code into display lists,
// in em units, each followed by its advance. Also the runtime's _strcmpi.
#include <GL/gl.h>
#include <fontconfig/fontconfig.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "font_outline_tessellation.h"
#include "win32.h"

// A font made by CreateFontA: what was asked for and the face file fontconfig chose.
struct HGDIOBJ__ {
    bool inUse;
    bool outline;      // false only for the stock font a device context starts with
    DWORD charSet;
    char file[4096];
    int faceIndex;
};

namespace {

const int maxFonts = 16;
HGDIOBJ__ fonts[maxFonts];
HGDIOBJ__ stockFont = {true, false, ANSI_CHARSET, "", 0};

struct Selection {
    HDC dc;
    HGDIOBJ font;
};
const int maxSelections = 8;
Selection selections[maxSelections];

HGDIOBJ* selectedFontSlot(HDC dc, bool create) {
    for (Selection& s : selections)
        if (s.dc == dc) return &s.font;
    if (!create) return nullptr;
    for (Selection& s : selections) {
        if (!s.dc) {
            s.dc = dc;
            s.font = &stockFont;
            return &s.font;
        }
    }
    return nullptr;
}

// Windows-1252 from 0x80 to 0x9F; its five unassigned codes pass through unchanged, as
// Windows' own conversion passes them.
const unsigned short cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

unsigned ansiToUnicode(unsigned code) {
    return code >= 0x80 && code <= 0x9F ? cp1252High[code - 0x80] : code;
}

// Symbol fonts carry their glyphs at U+F000 + code in a Microsoft symbol character map.
struct CharacterMap {
    FT_Face face;
    bool symbolMap;
    DWORD charSet;

    CharacterMap(FT_Face f, DWORD set) : face(f), symbolMap(false), charSet(set) {
        bool wantSymbol = set == SYMBOL_CHARSET;
        if (wantSymbol && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
            symbolMap = true;
        else if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 &&
                 FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
            symbolMap = true;
    }

    FT_UInt glyphFor(unsigned code) const {
        if (symbolMap) {
            FT_UInt glyph = FT_Get_Char_Index(face, 0xF000 + code);
            return glyph ? glyph : FT_Get_Char_Index(face, code);
        }
        return FT_Get_Char_Index(face, charSet == SYMBOL_CHARSET ? code : ansiToUnicode(code));
    }
};

bool matchFontFile(FcConfig* config, const char* face, int weight, bool italic,
                   HGDIOBJ__& font) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face ? face : ""));
    if (weight > 0) FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
                 std::strlen(reinterpret_cast<const char*>(file)) < sizeof font.file;
    if (found) {
        std::snprintf(font.file, sizeof font.file, "%s", reinterpret_cast<const char*>(file));
        if (FcPatternGetInteger(match, FC_INDEX, 0, &font.faceIndex) != FcResultMatch)
            font.faceIndex = 0;
    }
    FcPatternDestroy(match);
    return found;
}

// A configuration of its own, dropped after the match, leaves nothing of fontconfig's
// behind once the face file is known.
bool findFontFile(const char* face, int weight, bool italic, HGDIOBJ__& font) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return false;
    bool found = matchFontFile(config, face, weight, italic, font);
    FcConfigDestroy(config);
    return found;
}

void fillMetrics(const FT_Glyph_Metrics& m, double unitsPerEm, GLYPHMETRICSFLOAT& out) {
    out.gmfBlackBoxX = float(m.width / unitsPerEm);
    out.gmfBlackBoxY = float(m.height / unitsPerEm);
    out.gmfptGlyphOrigin.x = float(m.horiBearingX / unitsPerEm);
    out.gmfptGlyphOrigin.y = float(m.horiBearingY / unitsPerEm);
    out.gmfCellIncX = float(m.horiAdvance / unitsPerEm);
    out.gmfCellIncY = 0;
}

}  // namespace

HFONT CreateFontA(int, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD charSet,
                  DWORD, DWORD, DWORD, DWORD, LPCSTR face) {
    // Outlines are always taken unhinted at the em size, so neither the height nor the
    // quality changes the glyphs.
    for (HGDIOBJ__& font : fonts) {
        if (font.inUse) continue;
        if (!findFontFile(face, weight, italic != 0, font)) return nullptr;
        font.inUse = true;
        font.outline = true;
        font.charSet = charSet;
        return &font;
    }
    return nullptr;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || !object) return nullptr;
    HGDIOBJ* slot = selectedFontSlot(dc, true);
    if (!slot) return nullptr;
    HGDIOBJ previous = *slot;
    *slot = object;
    return previous;
}

BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, GLYPHMETRICSFLOAT* metrics) {
    // This is the narrow (ANSI) call: character codes are single bytes.
    if (format != WGL_FONT_POLYGONS || first > 255 || count > 256 - first) return FALSE;
    if (!(extrusion == extrusion)) return FALSE;
    HGDIOBJ* slot = dc ? selectedFontSlot(dc, false) : nullptr;
    if (!slot || !(*slot)->outline) return FALSE;
    const HGDIOBJ__& font = **slot;

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return FALSE;
    FT_Face face = nullptr;
    if (FT_New_Face(library, font.file, font.faceIndex, &face) != 0 || !FT_IS_SCALABLE(face) ||
        face->units_per_EM == 0) {
        if (face) FT_Done_Face(face);
        FT_Done_FreeType(library);
        return FALSE;
    }
    const double unitsPerEm = face->units_per_EM;
    // A deviation of 0 (or anything not above it) asks for one design unit.
    const double tolerance = deviation > 0 ? double(deviation) * unitsPerEm : 1.0;
    CharacterMap characters(face, font.charSet);

    for (DWORD i = 0; i < count; ++i) {
        GLYPHMETRICSFLOAT cell = {};
        glNewList(GLuint(listBase + i), GL_COMPILE);
        // A code the face has no glyph for stays an empty list with zero metrics.
        FT_UInt glyph = characters.glyphFor(first + i);
        if (glyph != 0 && FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
            face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            fillMetrics(face->glyph->metrics, unitsPerEm, cell);
            emitExtrudedOutline(face->glyph->outline, unitsPerEm, tolerance, extrusion);
            glTranslatef(cell.gmfCellIncX, 0, 0);
        }
        glEndList();
        if (metrics) metrics[i] = cell;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return TRUE;
}

int _strcmpi(const char* a, const char* b) {
    if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0) return ca - cb;
    }
}
