// velmora-host: loads VST 2, CLAP and VST 3 plug-ins from the command line to
// inspect them, render audio through them, time them and show their editors.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/cli_args.h"
#include "host/commands.h"
#include "host/errors.h"

namespace {

int run(const Invocation& invocation) {
    switch (invocation.command) {
        case Command::Help:
            std::fputs(usageText(), stdout);
            return 0;
        case Command::Info:
            return runInfo(invocation);
        case Command::Render:
            return runRender(invocation);
        case Command::Bench:
            return invocation.editorOpen ? runEditorBench(invocation) : runBench(invocation);
        case Command::Screenshot:
            return runScreenshot(invocation);
        case Command::Gui:
            return runGui(invocation);
        case Command::Spectrum:
            return runSpectrum(invocation);
        case Command::Compare:
            return runCompare(invocation);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return run(parseCommandLine(args));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    } catch (const HostError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Unexpected failure: %s.\n", error.what());
        return 1;
    }
}
