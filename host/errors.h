// The two ways a command can fail. Each carries one plain sentence for stderr;
// main() turns them into exit status 2 (usage) or 1 (everything else).
#pragma once

#include <stdexcept>
#include <string>

// The command line asks for something that cannot be done as written.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& sentence) : std::runtime_error(sentence) {}
};

// A file, the plug-in or the system failed while doing what was asked.
class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& sentence) : std::runtime_error(sentence) {}
};
