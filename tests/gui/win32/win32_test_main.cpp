// The test program stands in for the DLL: its own module holds the bitmap
// resources and names the window class, and its thread runs OLE.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ole2.h>

#include "gui/gui_platform.h"
#include "vst2/plugin_base.h"

int main(int argc, char** argv) {
    // The effects made here hand it to the platform; windows made without
    // an effect need it there from the start.
    moduleInstance = GetModuleHandleA(nullptr);
    defaultGuiPlatform().setModuleHandle(moduleInstance);
    OleInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
