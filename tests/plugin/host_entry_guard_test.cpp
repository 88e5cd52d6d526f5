// Nothing thrown inside the effect reaches the host: every function of the
// effect record (dispatcher, both process callbacks, parameter setter and
// getter) catches everything and gives the neutral answer.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "host_recorder.h"
#include "core/host_entry_guard.h"
#include "vst2/plugin_base.h"

namespace {

// An effect whose every operation throws, and counts its own deletion.
class ThrowingEffect : public PluginBaseExt {
public:
    explicit ThrowingEffect(int& deletions) : PluginBaseExt(recordingHost, 1, 2), deleted(deletions) {}
    ~ThrowingEffect() override { ++deleted; }
    void setParameter(int32_t, float) override { throw std::bad_alloc(); }
    float getParameter(int32_t) override { throw std::runtime_error("getter"); }
    void process(float**, float**, int32_t) override { throw 42; }
    void processReplacing(float**, float**, int32_t) override { throw std::bad_alloc(); }
    VstIntPtr dispatcher(int32_t, int32_t, VstIntPtr, void*, float) override { throw std::bad_alloc(); }

private:
    int& deleted;
};

}  // namespace

TEST(HostEntryGuard, GivesTheBodysResultOrTheNeutralAnswer) {
    EXPECT_EQ(guardedHostEntry(0, [] { return 7; }), 7);
    EXPECT_EQ(guardedHostEntry(0, []() -> int { throw std::bad_alloc(); }), 0);
    EXPECT_EQ(guardedHostEntry<void*>(nullptr, []() -> void* { throw 1; }), nullptr);
    bool ran = false;
    guardedHostEntry([&] {
        ran = true;
        throw std::runtime_error("x");
    });
    EXPECT_TRUE(ran);
}

TEST(HostEntryGuard, EveryRecordCallbackCatchesWhatTheEffectThrows) {
    int deletions = 0;
    auto* effect = new ThrowingEffect(deletions);
    AEffect* record = effect->getAeffect();
    float left[8] = {}, right[8] = {};
    float* io[2] = {left, right};

    EXPECT_NO_THROW(record->setParameter(record, 0, 0.5f));
    EXPECT_EQ(record->getParameter(record, 0), 0.0f);
    EXPECT_NO_THROW(record->process(record, io, io, 8));
    EXPECT_NO_THROW(record->processReplacing(record, io, io, 8));
    EXPECT_EQ(record->dispatcher(record, effEditOpen, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(record->dispatcher(record, effGetVendorString, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(deletions, 0);
    // effClose still lets go of the effect, whatever close() did.
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(deletions, 1);
}
