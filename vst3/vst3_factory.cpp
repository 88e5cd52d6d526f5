// The factory: one static object for the module's life that describes
// Velmora's one class and makes its instances.
#include "vst3/vst3_factory.h"

#include <atomic>

#include "core/effect_identity.h"
#include "core/host_entry_guard.h"
#include "vst3/vst3_class_id.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_text16.h"

namespace {

constexpr const char kSubCategories[] = "Fx|Distortion";

template <typename Info>
void describeClass(Info& info) {
    std::memcpy(info.cid, kVelmoraClassId.bytes, sizeof info.cid);
    info.cardinality = vvst3::PClassInfo::kManyInstances;
    copyToField(vvst3::kAudioEffectClass, info.category, sizeof info.category);
}

class Factory final : public vvst3::IPluginFactory3 {
public:
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override {
        if (obj == nullptr) return vvst3::kInvalidArgument;
        if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, vvst3::IPluginFactory::iid) ||
            vvst3::sameUid(iid, vvst3::IPluginFactory2::iid) || vvst3::sameUid(iid, vvst3::IPluginFactory3::iid)) {
            addRef();
            *obj = static_cast<vvst3::IPluginFactory3*>(this);
            return vvst3::kResultOk;
        }
        *obj = nullptr;
        return vvst3::kNoInterface;
    }

    uint32_t VVST3_CALL addRef() override { return references.fetch_add(1, std::memory_order_relaxed) + 1; }

    // Never freed (it is static); the host context goes with the last reference.
    uint32_t VVST3_CALL release() override {
        uint32_t count = references.load(std::memory_order_relaxed);
        while (count > 0 && !references.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) {
        }
        if (count == 1) setHostContext(nullptr);
        return count > 0 ? count - 1 : 0;
    }

    vvst3::tresult VVST3_CALL getFactoryInfo(vvst3::PFactoryInfo* info) override {
        if (info == nullptr) return vvst3::kInvalidArgument;
        *info = vvst3::PFactoryInfo{};
        copyToField(kEffectVendor, info->vendor, sizeof info->vendor);
        info->flags = vvst3::kDefaultFactoryFlags;
        return vvst3::kResultOk;
    }

    int32_t VVST3_CALL countClasses() override { return 1; }

    vvst3::tresult VVST3_CALL getClassInfo(int32_t index, vvst3::PClassInfo* info) override {
        if (index != 0 || info == nullptr) return vvst3::kInvalidArgument;
        *info = vvst3::PClassInfo{};
        describeClass(*info);
        copyToField(kEffectName, info->name, sizeof info->name);
        return vvst3::kResultOk;
    }

    vvst3::tresult VVST3_CALL getClassInfo2(int32_t index, vvst3::PClassInfo2* info) override {
        if (index != 0 || info == nullptr) return vvst3::kInvalidArgument;
        *info = vvst3::PClassInfo2{};
        describeClass(*info);
        copyToField(kEffectName, info->name, sizeof info->name);
        copyToField(kSubCategories, info->subCategories, sizeof info->subCategories);
        copyToField(kEffectVendor, info->vendor, sizeof info->vendor);
        copyToField(kEffectVersionText.data(), info->version, sizeof info->version);
        copyToField(vvst3::kSdkVersionString, info->sdkVersion, sizeof info->sdkVersion);
        return vvst3::kResultOk;
    }

    vvst3::tresult VVST3_CALL getClassInfoUnicode(int32_t index, vvst3::PClassInfoW* info) override {
        if (index != 0 || info == nullptr) return vvst3::kInvalidArgument;
        *info = vvst3::PClassInfoW{};
        describeClass(*info);
        copyToText16(kEffectName, info->name, std::size(info->name));
        copyToField(kSubCategories, info->subCategories, sizeof info->subCategories);
        copyToText16(kEffectVendor, info->vendor, std::size(info->vendor));
        copyToText16(kEffectVersionText.data(), info->version, std::size(info->version));
        copyToText16(vvst3::kSdkVersionString, info->sdkVersion, std::size(info->sdkVersion));
        return vvst3::kResultOk;
    }

    vvst3::tresult VVST3_CALL createInstance(vvst3::FIDString classId, vvst3::FIDString interfaceId,
                                             void** obj) override {
        return guardedHostEntry(vvst3::kInternalError, [&] {
            if (obj == nullptr) return vvst3::kInvalidArgument;
            *obj = nullptr;
            if (!vvst3::sameUid(classId, kVelmoraClassId) || interfaceId == nullptr) return vvst3::kNoInterface;
            Vst3Effect* effect = Vst3Effect::create();
            if (effect == nullptr) return vvst3::kOutOfMemory;
            const vvst3::tresult result = effect->queryInterface(interfaceId, obj);
            static_cast<vvst3::IComponent*>(effect)->release();
            return result;
        });
    }

    vvst3::tresult VVST3_CALL setHostContext(vvst3::FUnknown* context) override {
        if (context != nullptr) context->addRef();
        if (hostContext != nullptr) hostContext->release();
        hostContext = context;
        return vvst3::kResultOk;
    }

    vvst3::FUnknown* context() const { return hostContext; }

private:
    std::atomic<uint32_t> references{0};
    vvst3::FUnknown* hostContext = nullptr;
};

Factory factory;

}  // namespace

vvst3::IPluginFactory* vst3Factory() {
    factory.addRef();
    return &factory;
}

vvst3::FUnknown* vst3FactoryHostContext() { return factory.context(); }
