// Blits in which one colour of the source stays transparent. Where the system
// offers TransparentBlt (msimg32.dll on the NT family, loaded at run time so
// the plug-in never links it) that does the work; otherwise a 1-bit mask and
// three raster operations give the same pixels.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Loads msimg32.dll and looks up TransparentBlt for as long as at least one
// user holds it; matched pairs, on the user-interface thread.
void acquireTransparentBlt();
void releaseTransparentBlt();
// True while TransparentBlt is found and in use.
bool transparentBltAvailable();
// Makes every keyed blit take the mask path (tests compare the two).
void forceMaskKeyedBlit(bool force);

// Copies width x height from (srcX, srcY) of source to (destX, destY) of
// dest, leaving the destination where the source has the key colour.
void keyedBlit(HDC dest, int destX, int destY, int width, int height, HDC source, int srcX,
               int srcY, COLORREF key);
// The mask path on its own.
void maskKeyedBlit(HDC dest, int destX, int destY, int width, int height, HDC source, int srcX,
                   int srcY, COLORREF key);
