#include "host/vst3_plugin.h"

#include <algorithm>
#include <filesystem>

#include "host/errors.h"
#include "host/vst3_query.h"
#include "host/vst3_text.h"

namespace {

// Guards against nonsense counts from a broken plug-in.
constexpr int32_t kMaxBuses = 16;
constexpr int32_t kMaxPrograms = 4096;

template <typename Interface>
void releaseAndClear(Interface*& object) {
    if (object != nullptr) object->release();
    object = nullptr;
}

std::string hexOf(const char* bytes, size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

}  // namespace

Vst3Plugin::Vst3Plugin(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace)
    : path_(path),
      context_(trace),
      handler_(
          context_, [this](vvst3::ParamID id, vvst3::ParamValue value) { pending_.add(id, 0, value); },
          [this](vvst3::ParamID id) { return indexOf(id); }),
      frame_(context_),
      module_(std::make_unique<Vst3Module>(path, std::move(library))) {
    if (vvst3::IPluginFactory3* factory = module_->factory3()) factory->setHostContext(context_.unknown());
    class_ = module_->findAudioClass();
    try {
        createComponent();
        findController();
        connectParts();
        syncControllerState();
        readParameters();
        readProgramList();
    } catch (...) {
        releaseParts();
        throw;
    }
}

Vst3Plugin::~Vst3Plugin() { releaseParts(); }

void Vst3Plugin::createComponent() {
    void* object = nullptr;
    const vvst3::tresult created =
        module_->factory().createInstance(class_.info.cid, vvst3::IComponent::iid.bytes, &object);
    if (created != vvst3::kResultOk || object == nullptr)
        throw HostError(path_ + " did not create its audio effect " + displayName() + ".");
    auto* component = static_cast<vvst3::IComponent*>(object);
    // One that refuses to initialise is released without terminate.
    if (component->initialize(context_.unknown()) != vvst3::kResultOk) {
        component->release();
        throw HostError("The plug-in " + displayName() + " in " + path_ + " refused to initialise.");
    }
    component_ = component;
    processor_ = queryAs<vvst3::IAudioProcessor>(component_);
    if (processor_ == nullptr)
        throw HostError("The plug-in " + displayName() + " in " + path_ + " has no audio processor.");
}

// One object, or a controller class of its own; a plug-in with neither
// simply has no parameters.
void Vst3Plugin::findController() {
    controller_ = queryAs<vvst3::IEditController>(component_);
    if (controller_ == nullptr) {
        vvst3::TUID classId{};
        void* object = nullptr;
        if (component_->getControllerClassId(classId) != vvst3::kResultOk) return;
        if (module_->factory().createInstance(classId, vvst3::IEditController::iid.bytes, &object) !=
                vvst3::kResultOk ||
            object == nullptr)
            return;
        auto* controller = static_cast<vvst3::IEditController*>(object);
        if (controller->initialize(context_.unknown()) != vvst3::kResultOk) {
            controller->release();
            throw HostError("The controller of " + displayName() + " in " + path_ + " refused to initialise.");
        }
        controller_ = controller;
        separateController_ = true;
    }
    controller_->setComponentHandler(&handler_);
}

void Vst3Plugin::connectParts() {
    if (!separateController_) return;
    componentPoint_ = queryAs<vvst3::IConnectionPoint>(component_);
    controllerPoint_ = queryAs<vvst3::IConnectionPoint>(controller_);
    if (componentPoint_ == nullptr || controllerPoint_ == nullptr) {
        releaseAndClear(componentPoint_);
        releaseAndClear(controllerPoint_);
        return;
    }
    componentPoint_->connect(controllerPoint_);
    controllerPoint_->connect(componentPoint_);
}

void Vst3Plugin::syncControllerState() {
    if (controller_ == nullptr) return;
    Vst3MemoryStream state;
    if (component_->getState(&state) != vvst3::kResultOk) return;
    state.rewind();
    controller_->setComponentState(&state);
}

void Vst3Plugin::readParameters() {
    if (controller_ == nullptr) return;
    const int32_t count = controller_->getParameterCount();
    for (int32_t i = 0; i < count; ++i) {
        vvst3::ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != vvst3::kResultOk) continue;
        if ((info.flags & vvst3::ParameterInfo::kIsProgramChange) != 0 && programChangeIndex_ < 0)
            programChangeIndex_ = static_cast<int32_t>(params_.size());
        params_.push_back(info);
    }
    pending_.reserve(parameterCount());
    produced_.reserve(parameterCount());
}

// The program list of the root unit, or the first one when the root names none.
void Vst3Plugin::readProgramList() {
    units_ = queryAs<vvst3::IUnitInfo>(controller_);
    if (units_ == nullptr) return;
    vvst3::ProgramListID wanted = vvst3::kNoProgramListId;
    for (int32_t i = 0, count = units_->getUnitCount(); i < count; ++i) {
        vvst3::UnitInfo unit{};
        if (units_->getUnitInfo(i, unit) == vvst3::kResultOk && unit.id == vvst3::kRootUnitId)
            wanted = unit.programListId;
    }
    for (int32_t i = 0, count = units_->getProgramListCount(); i < count; ++i) {
        vvst3::ProgramListInfo list{};
        if (units_->getProgramListInfo(i, list) != vvst3::kResultOk) continue;
        if (wanted != vvst3::kNoProgramListId && list.id != wanted) continue;
        programList_.id = list.id;
        for (int32_t p = 0; p < std::min(list.programCount, kMaxPrograms); ++p) {
            vvst3::String128 name{};
            units_->getProgramName(list.id, p, name);
            programList_.names.push_back(utf8FromUtf16(name, 128));
        }
        return;
    }
}

// In reverse order of creation; safe after a constructor that stopped half way.
void Vst3Plugin::releaseParts() {
    closeEditor();
    if (processor_ != nullptr) stop();
    if (componentPoint_ != nullptr && controllerPoint_ != nullptr) {
        componentPoint_->disconnect(controllerPoint_);
        controllerPoint_->disconnect(componentPoint_);
    }
    releaseAndClear(componentPoint_);
    releaseAndClear(controllerPoint_);
    releaseAndClear(units_);
    if (controller_ != nullptr && separateController_) controller_->terminate();
    releaseAndClear(controller_);
    releaseAndClear(processor_);
    if (component_ != nullptr) component_->terminate();
    releaseAndClear(component_);
    context_.dropRunLoopRegistrations();
}

int32_t Vst3Plugin::indexOf(vvst3::ParamID id) const {
    for (size_t i = 0; i < params_.size(); ++i) {
        if (params_[i].id == id) return static_cast<int32_t>(i);
    }
    return -1;
}

std::string Vst3Plugin::displayName() {
    const std::string name = textOfField(class_.info.name, sizeof class_.info.name);
    return name.empty() ? std::filesystem::path(path_).filename().string() : name;
}

std::string Vst3Plugin::busSummary(vvst3::BusDirection direction) {
    const int32_t count = std::clamp(component_->getBusCount(vvst3::kAudio, direction), 0, kMaxBuses);
    std::string summary = std::to_string(count) + (count == 1 ? " bus" : " buses");
    for (int32_t i = 0; i < count; ++i) {
        vvst3::BusInfo bus{};
        if (component_->getBusInfo(vvst3::kAudio, direction, i, bus) != vvst3::kResultOk) continue;
        summary += (i == 0 ? ": " : ", ") + utf8FromUtf16(bus.name, 128) + " (" +
                   std::to_string(bus.channelCount) + " ch" + (bus.busType == vvst3::kMain ? ", main" : ", aux") +
                   ")";
    }
    return summary;
}

std::vector<InfoField> Vst3Plugin::identity() {
    const vvst3::PFactoryInfo factory = module_->factoryInfo();
    std::string vendor = textOfField(factory.vendor, sizeof factory.vendor);
    std::string version, subCategories, sdkVersion;
    if (const auto& info2 = class_.info2) {
        if (info2->vendor[0] != '\0') vendor = textOfField(info2->vendor, sizeof info2->vendor);
        version = textOfField(info2->version, sizeof info2->version);
        subCategories = textOfField(info2->subCategories, sizeof info2->subCategories);
        sdkVersion = textOfField(info2->sdkVersion, sizeof info2->sdkVersion);
    }
    return {
        {"Format", "VST 3" + (sdkVersion.empty() ? "" : " (" + sdkVersion + ")")},
        {"Class id", hexOf(class_.info.cid, sizeof class_.info.cid)},
        {"Name", textOfField(class_.info.name, sizeof class_.info.name)},
        {"Vendor", vendor},
        {"Version", version},
        {"Categories", subCategories},
        {"Controller", controller_ == nullptr     ? "none"
                       : separateController_ ? "a class of its own"
                                             : "the processor itself"},
        {"Audio inputs", busSummary(vvst3::kInput)},
        {"Audio outputs", busSummary(vvst3::kOutput)},
        {"Latency", std::to_string(latency()) + " samples"},
    };
}

std::vector<PresetListing> Vst3Plugin::presets() {
    std::vector<PresetListing> listing;
    for (const std::string& name : programList_.names) listing.push_back({name, {}, {}});
    return listing;
}

// A stepped program-change parameter of n + 1 values selects program i at i / n.
void Vst3Plugin::loadPreset(size_t index) {
    const size_t count = programList_.names.size();
    if (index >= count) throw HostError(displayName() + " has no preset number " + std::to_string(index) + ".");
    if (programChangeIndex_ < 0)
        throw HostError("The plug-in " + displayName() +
                        " lists programs but has no program-change parameter to select them.");
    queueValue(programChangeIndex_, count > 1 ? static_cast<double>(index) / static_cast<double>(count - 1) : 0.0, 0);
}

std::string Vst3Plugin::parameterName(int32_t index) { return utf8FromUtf16(info(index).title, 128); }

std::string Vst3Plugin::parameterLabel(int32_t index) { return utf8FromUtf16(info(index).units, 128); }

std::string Vst3Plugin::parameterDisplay(int32_t index) {
    const vvst3::ParamID id = info(index).id;
    const vvst3::ParamValue value = controller_->getParamNormalized(id);
    vvst3::String128 text{};
    if (controller_->getParamStringByValue(id, value, text) == vvst3::kResultOk) return utf8FromUtf16(text, 128);
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "%g", value);
    return fallback;
}

std::optional<float> Vst3Plugin::parameterFromText(int32_t index, const std::string& text) {
    vvst3::String128 typed{};
    copyToUtf16(text, typed, 128);
    vvst3::ParamValue value = 0.0;
    if (controller_->getParamValueByString(info(index).id, typed, value) != vvst3::kResultOk) return std::nullopt;
    return static_cast<float>(std::clamp(value, 0.0, 1.0));
}

float Vst3Plugin::parameter(int32_t index) {
    const vvst3::ParamValue value = controller_->getParamNormalized(info(index).id);
    return static_cast<float>(std::clamp(value, 0.0, 1.0));
}

void Vst3Plugin::setParameterAt(int32_t index, float value, int32_t frame) {
    queueValue(index, static_cast<double>(value), frame);
}

void Vst3Plugin::queueValue(int32_t index, double value, int32_t frame) {
    const vvst3::ParamID id = info(index).id;
    const vvst3::ParamValue normalised = std::clamp(value, 0.0, 1.0);
    controller_->setParamNormalized(id, normalised);
    pending_.add(id, frame, normalised);
}

std::optional<std::vector<uint8_t>> Vst3Plugin::saveComponentState() {
    Vst3MemoryStream state;
    if (component_->getState(&state) != vvst3::kResultOk) return std::nullopt;
    return state.bytes();
}

bool Vst3Plugin::loadComponentState(const std::vector<uint8_t>& bytes) {
    Vst3MemoryStream state(bytes);
    if (component_->setState(&state) != vvst3::kResultOk) return false;
    state.rewind();
    if (controller_ != nullptr) controller_->setComponentState(&state);
    return true;
}
