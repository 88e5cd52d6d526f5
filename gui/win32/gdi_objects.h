// Every GDI object and memory device context the Windows side creates goes
// through here, so the number still alive can be read back: a leak shows up
// as a count that grows with every editor opened and closed.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>

// Counts obj if it was created (non-null) and returns it.
template <typename Handle>
Handle countGdiObject(Handle obj);
// DeleteObject of a counted object; null is ignored.
void deleteGdiObject(HGDIOBJ obj);

HDC createMemoryDc(HDC compatibleWith);
void deleteMemoryDc(HDC dc);

// GDI objects and memory device contexts created here and not yet deleted.
int32_t liveGdiObjectCount();

// Implementation detail of countGdiObject.
void noteGdiObjectCreated();

template <typename Handle>
Handle countGdiObject(Handle obj) {
    if (obj) noteGdiObjectCreated();
    return obj;
}
