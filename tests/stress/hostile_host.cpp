#include "hostile_host.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

// Reads one choice; on exhaustion the caller stops.
struct Chooser {
    ChoiceSource& source;
    bool ok = true;

    uint32_t bits() {
        uint32_t b = 0;
        if (ok && !source.next(b)) ok = false;
        return b;
    }
    uint32_t below(uint32_t n) { return n ? bits() % n : 0; }
    bool oneIn(uint32_t n) { return below(n) == 0; }
    double unit() { return bits() / 4294967296.0; }

    // A float as a hostile host might store it: mostly in range, sometimes
    // anything at all.
    float value() {
        static const float kSpecial[] = {NAN, -NAN, INFINITY, -INFINITY, 1e-40f, -1e-40f, 0.0f, -0.0f, 1.0f,
                                         -1.0f, 2.0f, 20.0f, 80.0f, 160.0f, 1e30f, -1e30f, FLT_MAX, -FLT_MAX};
        if (oneIn(4)) return kSpecial[below(sizeof kSpecial / sizeof kSpecial[0])];
        if (oneIn(8)) {
            const uint32_t raw = bits();
            float any;
            std::memcpy(&any, &raw, sizeof any);
            return any;
        }
        return static_cast<float>(unit());
    }
    int32_t index() {
        static const int32_t kOdd[] = {-1, -2, 19, 20, 100, INT32_MIN, INT32_MAX, 0x7fff, -0x8000};
        if (oneIn(5)) return kOdd[below(sizeof kOdd / sizeof kOdd[0])];
        return static_cast<int32_t>(below(24));
    }
    // A sample rate from 1 Hz to 1 MHz on a log scale, or garbage.
    float sampleRate() {
        if (oneIn(6)) return value();
        return static_cast<float>(std::pow(10.0, 6.0 * unit()));
    }
};

enum class PtrKind { Any, TextOut, ProgramNameOut, TextIn, PointerOut };

// What a host passes in ptr for each opcode it may send.
PtrKind pointerKindFor(int32_t opcode) {
    switch (opcode) {
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString:
        case effGetErrorText:
        case effShellGetNextPlugin: return PtrKind::TextOut;
        case effGetProgramName:
        case effGetProgramNameIndexed: return PtrKind::ProgramNameOut;
        case effSetProgramName:
        case effString2Parameter:
        case effCanDo: return PtrKind::TextIn;
        case effEditGetRect:
        case effGetChunk:
        case effGetSpeakerArrangement: return PtrKind::PointerOut;
        default: return PtrKind::Any;
    }
}

// Opcodes that take a pointer in value rather than a number.
bool valueIsPointer(int32_t opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

}  // namespace

HostileHost::HostileHost(AEffect* e) : effect(e) {
    for (int ch = 0; ch < 2; ++ch) {
        input[ch].resize(kMaxFrames);
        output[ch].resize(kMaxFrames);
    }
}

bool HostileHost::step(ChoiceSource& source) {
    Chooser choose{source};
    const uint32_t kind = choose.below(16);
    if (!choose.ok) return false;
    ++calls;
    if (kind < 5) return dispatch(source);
    if (kind < 10) return setOrGetParameter(source, true);
    if (kind < 11) return setOrGetParameter(source, false);
    return processAudio(source);
}

bool HostileHost::dispatch(ChoiceSource& source) {
    Chooser choose{source};
    int32_t opcode = static_cast<int32_t>(choose.below(86)) - 3;  // -3 .. 82
    if (choose.oneIn(50)) opcode = static_cast<int32_t>(choose.bits());
    // Closing the effect ends the session, and opening the editor needs a
    // window: both are exercised by their own tests.
    if (opcode == effClose || opcode == effEditOpen || opcode == effEditClose) opcode = effEditIdle;

    int32_t index = choose.index();
    VstIntPtr value = static_cast<int32_t>(choose.bits() % 64) - 8;
    if (choose.oneIn(8)) value = static_cast<VstIntPtr>(static_cast<int32_t>(choose.bits()));
    const float opt = opcode == effSetSampleRate || opcode == effSetBlockSizeAndSampleRate ? choose.sampleRate()
                                                                                           : choose.value();
    const bool nullPointer = choose.oneIn(6);
    const uint32_t textLength = choose.below(80);
    const uint32_t textSeed = choose.bits();
    if (!choose.ok) return false;

    // Exactly sized buffers, so that AddressSanitizer sees any overrun.
    std::unique_ptr<char[]> text;
    alignas(16) unsigned char scratch[2048] = {};
    void* ptr = nullptr;
    if (!nullPointer) {
        switch (pointerKindFor(opcode)) {
            case PtrKind::TextOut:
                text.reset(new char[kHostTextBytes]);
                std::memset(text.get(), 'x', kHostTextBytes);
                ptr = text.get();
                break;
            case PtrKind::ProgramNameOut:
                text.reset(new char[kProgramNameBytes]);
                std::memset(text.get(), 'x', kProgramNameBytes);
                ptr = text.get();
                break;
            case PtrKind::TextIn:
                text.reset(new char[textLength + 1]);
                for (uint32_t i = 0; i < textLength; ++i) text[i] = static_cast<char>(1 + (textSeed >> (i % 24)) % 255);
                text[textLength] = '\0';
                ptr = text.get();
                break;
            case PtrKind::PointerOut:
            case PtrKind::Any: ptr = scratch; break;
        }
    }
    if (valueIsPointer(opcode)) value = choose.oneIn(2) ? 0 : reinterpret_cast<VstIntPtr>(scratch + 1024);

    effect->dispatcher(effect, opcode, index, value, ptr, opt);

    const PtrKind kind = pointerKindFor(opcode);
    if (text && (kind == PtrKind::TextOut || kind == PtrKind::ProgramNameOut)) {
        const size_t size = kind == PtrKind::TextOut ? kHostTextBytes : kProgramNameBytes;
        bool untouched = true;
        for (size_t i = 0; i < size; ++i) untouched = untouched && text[i] == 'x';
        if (!untouched && !std::memchr(text.get(), '\0', size))
            failureText = "opcode " + std::to_string(opcode) + " wrote an unterminated text";
    }
    return true;
}

bool HostileHost::setOrGetParameter(ChoiceSource& source, bool set) {
    Chooser choose{source};
    const int32_t index = choose.index();
    const float value = choose.value();
    if (!choose.ok) return false;
    if (set)
        effect->setParameter(effect, index, value);
    else
        (void)effect->getParameter(effect, index);
    return true;
}

bool HostileHost::processAudio(ChoiceSource& source) {
    Chooser choose{source};
    int32_t frames = static_cast<int32_t>(choose.below(kMaxFrames + 1));
    if (choose.oneIn(8)) frames = static_cast<int32_t>(choose.below(65));
    if (choose.oneIn(40)) frames = -static_cast<int32_t>(choose.below(100));
    const bool inPlace = choose.oneIn(3);
    const bool accumulate = choose.oneIn(4);
    const bool bad = choose.oneIn(5);
    const uint32_t badCount = choose.below(4) + 1;
    const uint32_t signalSeed = choose.bits();
    if (!choose.ok) return false;

    const int32_t n = frames > 0 ? frames : 0;
    uint32_t noise = signalSeed | 1;
    for (int ch = 0; ch < 2; ++ch)
        for (int32_t i = 0; i < n; ++i) {
            noise = noise * 1664525u + 1013904223u;
            input[ch][i] = static_cast<float>(static_cast<int32_t>(noise) / 2147483648.0);
            output[ch][i] = accumulate ? 0.5f * input[ch][i] : 12345.0f;
        }
    int64_t lastBad = -1;
    if (bad && n > 0) {
        static const float kBadSamples[] = {NAN, INFINITY, -INFINITY, 1e-40f, -1e-42f, FLT_MAX, -FLT_MAX, 1e30f};
        for (uint32_t k = 0; k < badCount; ++k) {
            const int32_t at = static_cast<int32_t>(choose.below(static_cast<uint32_t>(n)));
            const float sample = kBadSamples[choose.below(sizeof kBadSamples / sizeof kBadSamples[0])];
            input[choose.below(2)][at] = sample;
            if (!std::isfinite(sample) && at > lastBad) lastBad = at;
        }
    }
    if (!choose.ok) return false;

    float* ins[2] = {input[0].data(), input[1].data()};
    float* outs[2] = {output[0].data(), output[1].data()};
    if (inPlace) {
        // Accumulating in place adds the result to the input itself.
        outs[0] = ins[0];
        outs[1] = ins[1];
    }
    if (accumulate)
        effect->process(effect, ins, outs, frames);
    else
        effect->processReplacing(effect, ins, outs, frames);

    if (lastBad >= 0) cleanFrom = framesDone + lastBad + 1;
    for (int32_t i = 0; i < n && failureText.empty(); ++i) {
        const int64_t frame = framesDone + i;
        if (frame < cleanFrom + kRecoveryFrames) continue;
        if (!std::isfinite(outs[0][i]) || !std::isfinite(outs[1][i]))
            failureText = "non-finite output at frame " + std::to_string(frame) + ", " +
                          std::to_string(frame - cleanFrom) + " frames after the last non-finite input";
    }
    framesDone += n;
    return true;
}
