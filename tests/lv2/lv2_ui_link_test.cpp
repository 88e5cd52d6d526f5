// The LV2 UI's side of the editor link: what reaches the host's ports and
// touch feature, and what the editor is told, for the user's changes and the
// host's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lv2/lv2_ui_parameter_link.h"
#include "core/parameter_listener.h"

namespace {

struct Recorder {
    std::vector<std::string> calls;
    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
        auto* self = static_cast<Recorder*>(const_cast<void*>(controller));
        self->calls.push_back("write " + std::to_string(port) + " " + std::to_string(size) + " " +
                              std::to_string(format) + " " + std::to_string(*static_cast<const float*>(buffer)));
    }
    static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
        static_cast<Recorder*>(handle)->calls.push_back("touch " + std::to_string(port) + (grabbed ? " on" : " off"));
    }
};

class RecordingEditor : public ParameterListener {
public:
    explicit RecordingEditor(Recorder& recorder) : recorder(recorder) {}
    void parameterChanged(int32_t index, float value) override {
        recorder.calls.push_back("editor " + std::to_string(index) + " " + std::to_string(value));
    }

private:
    Recorder& recorder;
};

class UiLink : public ::testing::Test {
protected:
    UiLink() { link.setEditor(&editor); }
    Recorder recorder;
    LV2UI_Touch touch{&recorder, Recorder::touch};
    Lv2UiParameterLink link{Recorder::write, &recorder, &touch};
    RecordingEditor editor{recorder};
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(UiLink, StartsFromTheDefaultsAndFollowsTheHost) {
    EXPECT_EQ(link.currentValue(0), 0.5f);
    EXPECT_EQ(link.currentValue(2), 1.0f);
    EXPECT_EQ(link.currentValue(9), 0.0f);
    EXPECT_EQ(link.currentValue(18), 1.0f);
    EXPECT_EQ(link.currentValue(19), 0.0f);
    EXPECT_EQ(link.currentValue(-1), 0.0f);

    link.hostChanged(13, 0.9f);
    link.hostChanged(22, 0.3f);
    link.hostChanged(-1, 0.3f);
    EXPECT_EQ(link.currentValue(13), 0.9f);
    // The host's own change is shown, never written back to it.
    EXPECT_EQ(recorder.calls, (Calls{"editor 13 0.900000"}));
}

// As with the effect's automation: the editor hears first, then the host.
TEST_F(UiLink, UserChangeIsShownAndWrittenToItsPort) {
    link.beginEdit(9);
    link.setValue(9, 0.25f);
    link.endEdit(9);
    link.setValue(22, 0.5f);
    // Drive 0.25 is 0 dB, the unit of its port.
    EXPECT_EQ(recorder.calls, (Calls{"touch 13 on", "editor 9 0.250000", "write 13 4 0 0.000000", "touch 13 off"}));
    EXPECT_EQ(link.currentValue(9), 0.25f);
}

TEST_F(UiLink, CrossoverPushesItsPartnerPortFirstLikeTheEffect) {
    link.setValue(0, 0.8f);
    EXPECT_EQ(recorder.calls, (Calls{"editor 1 0.800000", "write 5 4 0 5023.773438", "editor 0 0.800000",
                                     "write 4 4 0 5023.773438"}));
    recorder.calls.clear();
    link.setValue(1, 0.2f);
    EXPECT_EQ(recorder.calls, (Calls{"editor 0 0.200000", "write 4 4 0 79.621437", "editor 1 0.200000",
                                     "write 5 4 0 79.621437"}));
    recorder.calls.clear();
    // Equal crossovers, or a move that keeps the order, push nothing.
    link.setValue(0, 0.2f);
    link.setValue(1, 0.6f);
    EXPECT_EQ(recorder.calls, (Calls{"editor 0 0.200000", "write 4 4 0 79.621437", "editor 1 0.600000",
                                     "write 5 4 0 1261.914917"}));
}

// Quality, Mix and Bypass reach their ports in the ports' units: a whole
// setting, Mix in %, and "enabled" as the inverse of Bypass; the host's
// values come back in the link's units.
TEST_F(UiLink, FooterValuesUseTheirPortsUnitsBothWays) {
    EXPECT_EQ(link.currentValue(20), 1.0f);
    link.beginEdit(21);
    link.setValue(21, 1.0f);
    link.endEdit(21);
    link.setValue(19, 2.4f);
    link.setValue(20, 0.25f);
    EXPECT_EQ(recorder.calls, (Calls{"touch 26 on", "editor 21 1.000000", "write 26 4 0 0.000000", "touch 26 off",
                                     "editor 19 2.000000", "write 23 4 0 2.000000", "editor 20 0.250000",
                                     "write 25 4 0 25.000000"}));
    recorder.calls.clear();
    link.portChanged(26, -1.0f);  // below 0 bypasses too
    link.portChanged(23, 7.0f);
    link.portChanged(25, 50.0f);
    link.portChanged(24, 3.0f);  // the latency output is not the editor's
    EXPECT_EQ(recorder.calls, (Calls{"editor 21 1.000000", "editor 19 3.000000", "editor 20 0.500000"}));
    link.portChanged(26, 1.0f);
    EXPECT_EQ(link.currentValue(21), 0.0f);
}

TEST(UiLinkWithoutTouch, GesturesAreSilentAndValuesStillWritten) {
    Recorder recorder;
    Lv2UiParameterLink link(Recorder::write, &recorder, nullptr);
    link.beginEdit(4);
    link.setValue(4, 1.0f);
    link.endEdit(4);
    EXPECT_EQ(recorder.calls, (Calls{"write 8 4 0 1.000000"}));
}
