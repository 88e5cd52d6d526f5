// The loaded library's handle, which the editor's toolkit loads its bitmaps
// from on Windows (they are resources of the .clap DLL itself). Null
// elsewhere.
#pragma once

#if defined(_WIN32)
void* clapModuleHandle();
#else
inline void* clapModuleHandle() { return nullptr; }
#endif
