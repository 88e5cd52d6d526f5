// Terminal queries, behind a seam because they differ per platform.
#pragma once

// True when stderr is an interactive terminal (not a pipe or a file).
bool stderrIsTerminal();
