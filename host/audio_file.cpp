#include "host/audio_file.h"

#include <sndfile.h>

#include <cstdio>
#include <filesystem>

#include "host/errors.h"

struct AudioFileReader::Impl {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    std::vector<float> interleaved;
};

AudioFileReader::AudioFileReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw HostError("Input file " + path + " does not exist.");
    impl_->file = sf_open(path.c_str(), SFM_READ, &impl_->info);
    if (impl_->file == nullptr) {
        throw HostError("Cannot read " + path + " as a sound file (" + sf_strerror(nullptr) + ").");
    }
    if (impl_->info.channels > 2) {
        const int channels = impl_->info.channels;
        sf_close(impl_->file);
        impl_->file = nullptr;
        throw HostError("Input file " + path + " has " + std::to_string(channels) +
                        " channels; only mono and stereo are supported.");
    }
}

AudioFileReader::~AudioFileReader() {
    if (impl_->file != nullptr) sf_close(impl_->file);
}

double AudioFileReader::sampleRate() const { return impl_->info.samplerate; }
int AudioFileReader::channels() const { return impl_->info.channels; }
int64_t AudioFileReader::frames() const { return impl_->info.frames; }

size_t AudioFileReader::read(float* left, float* right, size_t count) {
    const auto channels = static_cast<size_t>(impl_->info.channels);
    impl_->interleaved.resize(count * channels);
    const sf_count_t got = sf_readf_float(impl_->file, impl_->interleaved.data(), static_cast<sf_count_t>(count));
    const size_t frames = got > 0 ? static_cast<size_t>(got) : 0;
    for (size_t i = 0; i < frames; ++i) {
        left[i] = impl_->interleaved[i * channels];
        right[i] = impl_->interleaved[i * channels + channels - 1];
    }
    return frames;
}

struct AudioFileWriter::Impl {
    std::string path;
    std::string partialPath;
    SNDFILE* file = nullptr;
    std::vector<float> interleaved;
};

AudioFileWriter::AudioFileWriter(const std::string& path, double sampleRate) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    impl_->partialPath = path + ".partial";
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRate);
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    impl_->file = sf_open(impl_->partialPath.c_str(), SFM_WRITE, &info);
    if (impl_->file == nullptr) {
        throw HostError("Cannot write " + path + " (" + sf_strerror(nullptr) + ").");
    }
}

AudioFileWriter::~AudioFileWriter() {
    if (impl_->file != nullptr) {
        sf_close(impl_->file);
        std::remove(impl_->partialPath.c_str());
    }
}

void AudioFileWriter::write(const float* left, const float* right, size_t count) {
    impl_->interleaved.resize(count * 2);
    for (size_t i = 0; i < count; ++i) {
        impl_->interleaved[2 * i] = left[i];
        impl_->interleaved[2 * i + 1] = right[i];
    }
    const sf_count_t written = sf_writef_float(impl_->file, impl_->interleaved.data(), static_cast<sf_count_t>(count));
    if (written != static_cast<sf_count_t>(count)) {
        throw HostError("Writing " + impl_->path + " failed (" + sf_strerror(impl_->file) + ").");
    }
}

void AudioFileWriter::commit() {
    const int closed = sf_close(impl_->file);
    impl_->file = nullptr;
    std::error_code error;
    if (closed != 0) {
        std::filesystem::remove(impl_->partialPath, error);
        throw HostError("Writing " + impl_->path + " failed while closing it.");
    }
    std::filesystem::rename(impl_->partialPath, impl_->path, error);
    if (error) {
        std::filesystem::remove(impl_->partialPath, error);
        throw HostError("Cannot move the finished file into place at " + impl_->path + ".");
    }
}
