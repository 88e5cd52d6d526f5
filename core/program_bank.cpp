#include "program_bank.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "parameter_table.h"

namespace {

const char kInitName[] = "Init";

void copyCut(char* destination, const char* source) {
    // Names longer than the record holds are cut; nothing is written past it.
    size_t length = 0;
    while (length < ProgramBank::kNameSize - 1 && source[length] != '\0') ++length;
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

}  // namespace

ProgramBank::ProgramBank() : programs(new (std::nothrow) Program[kNumPrograms]) {
    if (!programs) return;
    for (int p = 0; p < kNumPrograms; ++p) {
        for (int i = 0; i < kNumParameters; ++i)
            programs[p].values[i].store(kParameterDefaults[i], std::memory_order_relaxed);
        copyCut(programs[p].name, kInitName);
    }
}

ProgramBank::~ProgramBank() { delete[] programs; }

float ProgramBank::value(int32_t program, int32_t index) const {
    if (!programs || !isProgram(program) || static_cast<uint32_t>(index) >= kNumParameters) return 0.0f;
    return programs[program].values[index].load(std::memory_order_relaxed);
}

void ProgramBank::store(int32_t program, int32_t index, float newValue) {
    if (!programs || !isProgram(program) || static_cast<uint32_t>(index) >= kNumParameters) return;
    programs[program].values[index].store(newValue, std::memory_order_relaxed);
}

void ProgramBank::setName(int32_t program, const char* name) {
    if (programs && isProgram(program) && name) copyCut(programs[program].name, name);
}

bool ProgramBank::copyName(int32_t program, char* text) const {
    if (!programs || !isProgram(program) || !text) return false;
    std::strcpy(text, programs[program].name);
    return true;
}

void ProgramBank::writeDisplayName(int32_t program, char* text) const {
    if (!text) return;
    if (!programs || !isProgram(program)) {
        text[0] = '\0';
        return;
    }
    // An untouched program is shown with its number: "Init 1" .. "Init 16".
    if (std::strcmp(programs[program].name, kInitName) == 0)
        std::snprintf(text, 24, "%s %d", kInitName, program + 1);
    else
        std::strcpy(text, programs[program].name);
}
