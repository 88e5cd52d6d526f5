// The Windows build of velmora-host goes without FFTW and cairo.
#include "host/commands.h"
#include "host/errors.h"

int runSpectrum(const Invocation&) {
    throw HostError("The spectrum command is only in the Linux build of velmora-host (it needs FFTW and cairo).");
}

int runCompare(const Invocation&) {
    throw HostError("The compare command is only in the Linux build of velmora-host (it needs FFTW and cairo).");
}
