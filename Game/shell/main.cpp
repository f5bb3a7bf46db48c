// The process entry: SDL 1.2 has no entry shim of its own on Linux.
#include "shell.h"

int main(int argc, char* argv[]) { return SDL_main(argc, argv); }
