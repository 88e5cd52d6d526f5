#include <io.h>

#include <cstdio>

#include "host/terminal.h"

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
