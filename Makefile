# The front door: each target installs what is missing, then hands over to CMake.
BUILD := build
PREFIX ?= /usr/local
JOBS  := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build play test bench pacing screenshots install clean

all: build

setup:
	@sh tools/setup-deps.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD)

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd data && exec ../$(BUILD)/orbalune

# The runner gives every test SDL's dummy video and audio drivers.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Headless too; tick_share is the fraction of the 25 ms tick one call takes.
bench: build
	cd data && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ../$(BUILD)/orbalune-bench

# The real game's tick intervals and processor use, idle, playing and paused.
pacing: build
	sh tools/pacing/run.sh

# Screens of the game under a virtual X server, for the README.
screenshots: build
	@sh tools/setup-deps.sh --with-tools
	sh tools/screenshots.sh

# Launcher, binary, read-only assets, desktop entry and icon under PREFIX;
# DESTDIR works as usual for staging a package.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
