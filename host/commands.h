// The subcommands. Each returns the exit status on success and reports
// failures by throwing UsageError or HostError.
#pragma once

#include "host/cli_args.h"

int runInfo(const Invocation& invocation);
int runRender(const Invocation& invocation);
int runBench(const Invocation& invocation);
// bench --editor-open.
int runEditorBench(const Invocation& invocation);
int runScreenshot(const Invocation& invocation);
int runGui(const Invocation& invocation);
int runSpectrum(const Invocation& invocation);
int runCompare(const Invocation& invocation);
