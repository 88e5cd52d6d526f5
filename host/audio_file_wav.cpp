// Sound files for the Windows build, where no packaged sound-file library is
// available to the cross compiler: RIFF WAVE only. Reading takes 16-, 24- and
// 32-bit integer and 32- and 64-bit float samples, plain or extensible;
// writing is 32-bit float stereo.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/audio_file.h"
#include "host/errors.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kHeaderBytes = 44;

uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

// One sample of the given encoding as a float in about -1..1.
float decodeSample(const unsigned char* p, uint16_t format, uint16_t bits) {
    if (format == kFormatFloat) {
        if (bits == 32) {
            float value;
            std::memcpy(&value, p, 4);
            return value;
        }
        double value;
        std::memcpy(&value, p, 8);
        return static_cast<float>(value);
    }
    switch (bits) {
        case 16:
            return static_cast<float>(static_cast<int16_t>(le16(p))) / 32768.0f;
        case 24: {
            const uint32_t shifted = static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
                                     static_cast<uint32_t>(p[2]) << 24;
            const int32_t value = static_cast<int32_t>(shifted) / 256;
            return static_cast<float>(value) / 8388608.0f;
        }
        default:
            return static_cast<float>(static_cast<double>(static_cast<int32_t>(le32(p))) / 2147483648.0);
    }
}

}  // namespace

struct AudioFileReader::Impl {
    std::FILE* file = nullptr;
    uint16_t format = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;
    uint32_t rate = 0;
    int64_t frames = 0;
    int64_t framesLeft = 0;
    std::vector<unsigned char> raw;
};

AudioFileReader::AudioFileReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw HostError("Input file " + path + " does not exist.");
    Impl& r = *impl_;
    r.file = std::fopen(path.c_str(), "rb");
    const auto refuse = [&](const std::string& why) {
        if (r.file != nullptr) std::fclose(r.file);
        r.file = nullptr;
        throw HostError("Cannot read " + path + " as a sound file (" + why + ").");
    };
    if (r.file == nullptr) refuse("it cannot be opened");
    unsigned char riff[12];
    if (std::fread(riff, 1, 12, r.file) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        refuse("it is not a RIFF WAVE file");
    }
    bool haveFormat = false;
    for (;;) {
        unsigned char chunk[8];
        if (std::fread(chunk, 1, 8, r.file) != 8) refuse("it has no data chunk");
        const uint32_t size = le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > 64) refuse("its format chunk is malformed");
            unsigned char fmt[64];
            if (std::fread(fmt, 1, size, r.file) != size) refuse("its format chunk is cut short");
            r.format = le16(fmt);
            r.channels = le16(fmt + 2);
            r.rate = le32(fmt + 4);
            r.bits = le16(fmt + 14);
            // The extensible header keeps the real encoding in its sub-format GUID.
            if (r.format == kFormatExtensible && size >= 26) r.format = le16(fmt + 24);
            if (size % 2 == 1) std::fseek(r.file, 1, SEEK_CUR);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) refuse("its data comes before its format");
            const bool pcm = r.format == kFormatPcm && (r.bits == 16 || r.bits == 24 || r.bits == 32);
            const bool flt = r.format == kFormatFloat && (r.bits == 32 || r.bits == 64);
            if (!pcm && !flt) refuse("its sample encoding is not supported");
            if (r.channels == 0 || r.rate == 0) refuse("its format chunk is malformed");
            r.frames = size / (static_cast<uint32_t>(r.channels) * (r.bits / 8u));
            r.framesLeft = r.frames;
            break;
        } else {
            if (std::fseek(r.file, static_cast<long>(size + (size % 2)), SEEK_CUR) != 0) refuse("it is cut short");
        }
    }
    if (r.channels > 2) {
        const int channels = r.channels;
        std::fclose(r.file);
        r.file = nullptr;
        throw HostError("Input file " + path + " has " + std::to_string(channels) +
                        " channels; only mono and stereo are supported.");
    }
}

AudioFileReader::~AudioFileReader() {
    if (impl_->file != nullptr) std::fclose(impl_->file);
}

double AudioFileReader::sampleRate() const { return impl_->rate; }
int AudioFileReader::channels() const { return impl_->channels; }
int64_t AudioFileReader::frames() const { return impl_->frames; }

size_t AudioFileReader::read(float* left, float* right, size_t count) {
    Impl& r = *impl_;
    const size_t bytesPerSample = r.bits / 8u;
    const size_t frameBytes = bytesPerSample * r.channels;
    const size_t wanted = std::min(count, static_cast<size_t>(r.framesLeft));
    r.raw.resize(wanted * frameBytes);
    const size_t frames = std::fread(r.raw.data(), frameBytes, wanted, r.file);
    r.framesLeft -= static_cast<int64_t>(frames);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* first = r.raw.data() + i * frameBytes;
        const unsigned char* last = first + frameBytes - bytesPerSample;
        left[i] = decodeSample(first, r.format, r.bits);
        right[i] = decodeSample(last, r.format, r.bits);
    }
    return frames;
}

struct AudioFileWriter::Impl {
    std::string path;
    std::string partialPath;
    std::FILE* file = nullptr;
    uint32_t rate = 0;
    uint64_t frames = 0;
    std::vector<unsigned char> interleaved;
};

AudioFileWriter::AudioFileWriter(const std::string& path, double sampleRate) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    impl_->partialPath = path + ".partial";
    impl_->rate = static_cast<uint32_t>(sampleRate);
    impl_->file = std::fopen(impl_->partialPath.c_str(), "wb");
    if (impl_->file == nullptr) throw HostError("Cannot write " + path + " (the file cannot be created).");
    // The header is written again with the real sizes by commit().
    const unsigned char placeholder[kHeaderBytes] = {};
    if (std::fwrite(placeholder, 1, kHeaderBytes, impl_->file) != kHeaderBytes) {
        std::fclose(impl_->file);
        impl_->file = nullptr;
        std::remove(impl_->partialPath.c_str());
        throw HostError("Cannot write " + path + " (writing failed).");
    }
}

AudioFileWriter::~AudioFileWriter() {
    if (impl_->file != nullptr) {
        std::fclose(impl_->file);
        std::remove(impl_->partialPath.c_str());
    }
}

void AudioFileWriter::write(const float* left, const float* right, size_t count) {
    Impl& w = *impl_;
    w.interleaved.resize(count * 8);
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&w.interleaved[8 * i], &left[i], 4);
        std::memcpy(&w.interleaved[8 * i + 4], &right[i], 4);
    }
    if (std::fwrite(w.interleaved.data(), 8, count, w.file) != count) {
        throw HostError("Writing " + w.path + " failed.");
    }
    w.frames += count;
}

void AudioFileWriter::commit() {
    Impl& w = *impl_;
    const uint64_t dataBytes = w.frames * 8;
    std::error_code error;
    if (dataBytes > 0xFFFFFFFFull - kHeaderBytes) {
        std::fclose(w.file);
        w.file = nullptr;
        std::filesystem::remove(w.partialPath, error);
        throw HostError("Writing " + w.path + " failed: the sound is too long for a WAV file.");
    }
    unsigned char header[kHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    put32(header + 4, static_cast<uint32_t>(36 + dataBytes));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put32(header + 16, 16);
    put16(header + 20, kFormatFloat);
    put16(header + 22, 2);
    put32(header + 24, w.rate);
    put32(header + 28, w.rate * 8);
    put16(header + 32, 8);
    put16(header + 34, 32);
    std::memcpy(header + 36, "data", 4);
    put32(header + 40, static_cast<uint32_t>(dataBytes));
    const bool written = std::fseek(w.file, 0, SEEK_SET) == 0 && std::fwrite(header, 1, kHeaderBytes, w.file) == kHeaderBytes;
    const bool closed = std::fclose(w.file) == 0;
    w.file = nullptr;
    if (!written || !closed) {
        std::filesystem::remove(w.partialPath, error);
        throw HostError("Writing " + w.path + " failed while closing it.");
    }
    std::filesystem::rename(w.partialPath, w.path, error);
    if (error) {
        std::filesystem::remove(w.partialPath, error);
        throw HostError("Cannot move the finished file into place at " + w.path + ".");
    }
}
