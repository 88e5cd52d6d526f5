// A minimal LV2 host on lilv: loads the built bundle, instantiates the
// plug-in at a sample rate and runs it block by block, as a DAW would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <lv2/urid/urid.h>

#include "lv2_test_support.h"

typedef struct LilvWorldImpl LilvWorld;
typedef struct LilvInstanceImpl LilvInstance;
typedef struct LilvPluginImpl LilvPlugin;

class LilvTestHost {
public:
    // With a URID map the plug-in gets it, and its atom ports are connected
    // to sequences; without one they stay unconnected.
    explicit LilvTestHost(double sampleRate, LV2_URID_Map* map = nullptr);
    ~LilvTestHost();
    LilvTestHost(const LilvTestHost&) = delete;
    LilvTestHost& operator=(const LilvTestHost&) = delete;

    // Writes a control port by symbol, given the value as the other formats
    // take it (see lv2PortValue); the plug-in sees it at the next run.
    void set(const std::string& symbol, float value) { setPort(symbol, lv2PortValue(symbol, value)); }
    void set(const ParameterSet& values);
    // Writes exactly this number into the port, in the port's own unit.
    void setPort(const std::string& symbol, float value);
    // Writes the ports a factory preset of the bundle holds, restored by
    // lilv as hosts restore it; throws when there is no such preset.
    void applyPreset(const std::string& label);
    // What a port holds: for an output port, what the plug-in last wrote.
    float get(const std::string& symbol) const;
    void activate();
    void deactivate();

    // An atom for an atom input port, delivered at the next run.
    void sendAtom(const std::string& symbol, const void* atom, uint32_t size);
    // The atoms an atom output port held after the last run, each whole.
    std::vector<std::vector<uint8_t>> atomsOut(const std::string& symbol) const;

    // Runs frames through the plug-in; with inPlace the output buffers are
    // also the input buffers, as hosts may connect them.
    void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight, uint32_t frames,
             bool inPlace = false);
    // The whole input in blocks of blockFrames (the last one may be shorter).
    StereoFile render(const StereoFile& input, uint32_t blockFrames, bool inPlace = false);

private:
    size_t portIndex(const std::string& symbol) const;

    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<std::string> symbols;  // by port index
    std::vector<float> controls;       // by port index; audio slots unused
    // Atom ports' sequences (8-byte aligned) and what waits to go in.
    struct AtomPort {
        uint32_t index;
        bool output;
        std::vector<uint64_t> buffer;
        std::vector<std::vector<uint8_t>> waiting;
    };
    std::vector<AtomPort> atomPorts;
    LV2_URID sequenceType = 0;
    void fillAtomPorts();
    const AtomPort& atomPort(const std::string& symbol) const;
};

// Index of a parameter's control by its symbol (cross1 is 0, master 18).
int parameterIndex(const std::string& symbol);
