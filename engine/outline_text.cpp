// outline_text.cpp - the game's text: an extruded outline font built once into display
// lists, strings printed centred on the current position, whole numbers, and blocks of
// RGB pixels drawn at the raster position.
#include "outline_text.h"

#include <cstring>

#include "float_to_int.h"
#include "window_procedure.h"

GLYPHMETRICSFLOAT glyphMetrics[256];

GLuint createOutlineFont(const char* face, int height, float extrusion) {
    // The font's lists are the context's first, so their base is 1: printNumber relies on it.
    GLuint base = glGenLists(256);
    if (base == 0) return 0;
    DWORD charSet = face && _strcmpi(face, "symbol") == 0 ? SYMBOL_CHARSET : ANSI_CHARSET;
    HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, charSet,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             FF_DONTCARE | DEFAULT_PITCH, face);
    if (!font) return 0;
    // The font stays selected for the whole run and is never deleted.
    SelectObject(deviceContext, font);
    // Code 255 is left out: its list stays empty and its metrics zero.
    wglUseFontOutlinesA(deviceContext, 0, 255, base, 0.0f, extrusion, WGL_FONT_POLYGONS,
                        glyphMetrics);
    return base;
}

void printCentred(GLuint base, const char* text) {
    if (!text) return;
    float width = 0;
    size_t length = 0;
    for (const char* c = text; *c; ++c, ++length)
        width += glyphMetrics[static_cast<unsigned char>(*c)].gmfCellIncX;
    glTranslatef(-width / 2, 0, 0);
    // Each glyph's list advances the matrix, so it is left at the string's end.
    glPushAttrib(GL_LIST_BIT);
    glListBase(base);
    glCallLists(GLsizei(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void wholeNumberText(float value, char text[8]) {
    // Seven characters hold 9999999 and -999999; larger magnitudes show as those, so the
    // text never outgrows its buffer and no out-of-range float reaches an int conversion.
    const int whole = truncateWithin(value, -999999, 9999999, 0);

    char digits[8];
    int count = 0;
    unsigned magnitude = whole < 0 ? unsigned(-whole) : unsigned(whole);
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int at = 0;
    if (whole < 0) text[at++] = '-';
    while (count > 0) text[at++] = digits[--count];
    text[at] = '\0';
}

void printNumber(float value) {
    char text[8];
    wholeNumberText(value, text);
    printCentred(1, text);
}

void drawPixels(int width, int height, const void* rgbBytes) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (!rgbBytes || width <= 0 || height <= 0) return;
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, rgbBytes);
}
