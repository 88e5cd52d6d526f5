// The analyser strip's screen: the input's spectrum (muted, filled) and the
// output's (a line tinted per band) from 20 Hz to 20 kHz on a logarithmic
// axis with a labelled grid, and the two crossovers as handles that drag as
// one gesture each. The frequency axis is the crossovers' own law (20 Hz
// times 1000 to the power of the value), so a handle sits at its value.
//
// As a control its tag is the crossover being dragged (Cross1 or Cross2),
// and its value that crossover's: the editor's listener sends it to the link
// as it sends a knob's.
#pragma once

#include <cstdint>

#include "core/analysis_source.h"
#include "core/parameter_link.h"
#include "editor/spectrum_analysis.h"
#include "gui/gui_control.h"

class AnalyserView : public GuiControl {
public:
    // screen is the strip's dark screen; source and link outlive the view.
    AnalyserView(const GuiRect& screen, GuiControlListener* listener, AnalysisSource& source, ParameterLink& link);

    // UI thread, at every editor idle: takes the sound that arrived and the
    // crossovers' and solos' values; dirty when the picture changed.
    void tick(uint32_t nowMs);

    void draw(GuiDrawContext* context) override;
    void mouse(GuiDrawContext* context, GuiPoint& where) override;
    bool isDirty() override { return dirty; }
    void setDirty(bool state = true) override { dirty = state; }

    // The handle a press at x takes (kCross1 or kCross2), or -1 for none.
    int32_t handleAt(int32_t x) const;
    int32_t xOfValue(float value) const;
    float valueAtX(int32_t x) const;

private:
    struct Shown {
        float crossovers[2] = {-1.0f, -1.0f};
        bool solos[3] = {};
        bool operator==(const Shown&) const = default;
    };

    void drawBands(GuiDrawContext* context) const;
    void drawGridLines(GuiDrawContext* context) const;
    void drawGridLabels(GuiDrawContext* context) const;
    int32_t yOfLevel(float db) const;
    void drawSpectra(GuiDrawContext* context) const;
    void drawHandle(GuiDrawContext* context, int32_t which) const;
    bool bandDimmed(int32_t band) const;
    // The band levels as points on the screen.
    void levelPoints(const float* levels, float* xs, float* ys) const;
    void dragHandle(GuiDrawContext* context, GuiPoint pointer);

    ParameterLink& link;
    SpectrumAnalysis analysis;
    Shown shown;
    // The plotting area inside the screen: levels above, Hz labels below.
    int32_t plotTop, plotBottom;
};
