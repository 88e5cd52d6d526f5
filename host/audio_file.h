// Sound files: stereo block reading (mono duplicated to both channels) and
// 32-bit float WAV writing that only ever leaves a complete file behind.
// audio_file.cpp implements it with libsndfile; audio_file_wav.cpp is the
// WAV-only version for builds without that library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AudioFileReader {
public:
    // Throws HostError when the file cannot be read as sound or has more
    // than two channels.
    explicit AudioFileReader(const std::string& path);
    ~AudioFileReader();

    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    double sampleRate() const;
    int channels() const;
    int64_t frames() const;

    // Up to count frames into left and right; returns the frames read, 0 at the end.
    size_t read(float* left, float* right, size_t count);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class AudioFileWriter {
public:
    // Writes into a side file next to path; commit() moves it into place, and
    // a writer destroyed without commit() removes it.
    AudioFileWriter(const std::string& path, double sampleRate);
    ~AudioFileWriter();

    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    void write(const float* left, const float* right, size_t count);
    void commit();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
