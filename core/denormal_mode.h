// The VST 2 entry switches its thread to flush-to-zero for good. A plug-in
// of another format runs on its host's audio thread, so it sets the same mode
// only while it processes and leaves the host's mode as it found it.
#pragma once

class DenormalModeScope {
public:
    // The bits to set, found once (outside the audio path) by letting the
    // shared flush-to-zero routine set them and reading them back.
    static unsigned flushToZeroBits();

    explicit DenormalModeScope(unsigned bits);
    ~DenormalModeScope();
    DenormalModeScope(const DenormalModeScope&) = delete;
    DenormalModeScope& operator=(const DenormalModeScope&) = delete;

private:
    unsigned saved = 0;
};
