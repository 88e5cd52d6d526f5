#include "host_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

pid_t spawn(std::vector<std::string> argv, const std::filesystem::path& outFile, const std::filesystem::path& errFile,
            const EnvChanges& env) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        const int none = open("/dev/null", O_RDONLY);
        dup2(none, 0);
        for (const auto& change : env) {
            if (change.starts_with("-")) {
                unsetenv(change.c_str() + 1);
            } else if (const auto equals = change.find('='); equals != std::string::npos) {
                setenv(change.substr(0, equals).c_str(), change.c_str() + equals + 1, 1);
            }
        }
        std::vector<char*> pointers;
        for (auto& arg : argv) pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        execvp(pointers[0], pointers.data());
        _exit(127);
    }
    return pid;
}

int decodeStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

std::vector<std::string> hostCommand(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VELMORA_HOST_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

}  // namespace

HostRun runHost(const std::vector<std::string>& args, const EnvChanges& env) { return runProgram(hostCommand(args), env); }

HostRun runProgram(const std::vector<std::string>& argv, const EnvChanges& env) {
    ScratchDir logs;
    const pid_t pid = spawn(argv, logs / "out", logs / "err", env);
    HostRun run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = decodeStatus(status);
    run.out = readFile(logs / "out");
    run.err = readFile(logs / "err");
    return run;
}

pid_t startHost(const std::vector<std::string>& args, const std::filesystem::path& outFile) {
    return startProgram(hostCommand(args), outFile);
}

pid_t startProgram(const std::vector<std::string>& argv, const std::filesystem::path& outFile, const EnvChanges& env) {
    return spawn(argv, outFile, outFile.string() + ".err", env);
}

int waitHost(pid_t pid, double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) return decodeStatus(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

std::string fixturePath(const std::string& name) { return std::string(FIXTURE_DIR) + "/host_fixture_" + name + ".so"; }

std::string clapFixturePath(const std::string& name) {
    return std::string(FIXTURE_DIR) + "/host_fixture_clap_" + name + ".clap";
}

std::string velmoraPath() { return VELMORA_PLUGIN; }

std::string velmoraClapPath() { return VELMORA_CLAP_PLUGIN; }

bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("velmora-host-test-" + std::to_string(getpid()) + "-" +
                                                      std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

bool ScratchDir::empty() const { return std::filesystem::is_empty(path_); }

float Sound::peak() const {
    float peak = 0.0f;
    for (float sample : samples) peak = std::max(peak, std::fabs(sample));
    return peak;
}

Sound readSound(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read " + path.string());
    Sound sound;
    sound.channels = info.channels;
    sound.sampleRate = info.samplerate;
    sound.format = info.format;
    sound.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    sf_readf_float(file, sound.samples.data(), info.frames);
    sf_close(file);
    return sound;
}

void writeSound(const std::filesystem::path& path, int channels, int sampleRate, const std::vector<float>& samples) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write " + path.string());
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / static_cast<size_t>(channels)));
    sf_close(file);
}

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream lines(text);
    for (std::string current; std::getline(lines, current);) {
        if (current == line) return true;
    }
    return false;
}

size_t lineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }
