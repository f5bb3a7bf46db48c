#!/bin/sh
# Every test runs on SDL's own dummy video and audio drivers: no window, no
# sound card. CTest starts each test binary through this.
SDL_VIDEODRIVER=dummy
SDL_AUDIODRIVER=dummy
export SDL_VIDEODRIVER SDL_AUDIODRIVER
exec "$@"
