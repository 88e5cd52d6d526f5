// The loaded library's handle, which the editor's toolkit loads its bitmaps
// from on Windows (they are resources of the DLL itself). Null elsewhere.
#pragma once

#if defined(_WIN32)
void* vst3ModuleHandle();
#else
inline void* vst3ModuleHandle() { return nullptr; }
#endif
