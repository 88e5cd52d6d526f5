// The interface through which an effect reaches its editor. The base behaviour
// is what an effect without a real window gets: no rectangle, no keys.
#pragma once

#include "relaxed_atomic.h"
#include "vst_abi.h"

class PluginBase;

class EditorBase {
public:
    // Registers itself as the effect's editor and sets the has-editor flag.
    explicit EditorBase(PluginBase* effect);
    virtual ~EditorBase() = default;

    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;

    virtual int32_t getRect(ERect** rect);
    virtual int32_t open(void* parentWindow);
    virtual void close() {}
    virtual void idle();
    virtual void update() {}
    virtual void requestUpdate() { updateRequested = true; }
    virtual int32_t onKeyDown(VstKeyCode& /*key*/) { return -1; }
    virtual int32_t onKeyUp(VstKeyCode& /*key*/) { return -1; }
    virtual int32_t setKnobDragMode(int32_t /*mode*/) { return 0; }
    virtual int32_t onWheel(float /*distance*/) { return 0; }
    // The effect reports every parameter change here, whether or not the
    // window is open; an editor without controls only asks for an update.
    virtual void setParameter(int32_t /*index*/, float /*value*/) { requestUpdate(); }

    PluginBase* getEffect() const { return effect; }
    void* getParentWindow() const { return parentWindow; }

protected:
    PluginBase* effect;
    void* parentWindow = nullptr;
    // Set from whichever thread changes a parameter, cleared by idle.
    RelaxedAtomic<bool> updateRequested{false};
};
