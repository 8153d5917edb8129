// outline_text.h - extruded outline-font text and raster pixel blocks.
#ifndef KORVALINTH_ENGINE_OUTLINE_TEXT_H
#define KORVALINTH_ENGINE_OUTLINE_TEXT_H

#include "platform.h"

extern GLYPHMETRICSFLOAT glyphMetrics[256];

GLuint createOutlineFont(const char* face, int height, float extrusion);  // base of 256 lists, or 0
void printCentred(GLuint base, const char* text);  // leaves the matrix at the string's end
void printNumber(float value);                     // whole part, list base 1
void wholeNumberText(float value, char text[8]);  // printNumber's text: at most 7 characters
void drawPixels(int width, int height, const void* rgbBytes);

#endif
