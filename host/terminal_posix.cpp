#include <unistd.h>

#include <cstdio>

#include "host/terminal.h"

bool stderrIsTerminal() { return isatty(fileno(stderr)) == 1; }
