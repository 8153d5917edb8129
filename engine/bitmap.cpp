// bitmap.cpp - placeholder, replaced by its own work.
#include "bitmap.h"
unsigned char* loadBitmapFile(const char*, BITMAPINFOHEADER*) { return nullptr; }
TextureImage* createBitmapTexture(const char*) { return nullptr; }
TextureImage* loadTextureFile(const char*) { return nullptr; }
void uploadTexture(TextureImage*) {}
