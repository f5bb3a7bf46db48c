# The front door: each target installs what is missing, then hands over to CMake.
BUILD := build
ASAN_BUILD := build-asan
PREFIX ?= /usr/local
JOBS  := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build sanitize play test bench screenshots install clean

all: build

setup:
	@sh tools/setup-deps.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD)

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Everything again under AddressSanitizer and UBSan, built by clang, which
# also builds the fuzzer of the score file.
$(ASAN_BUILD)/CMakeCache.txt: | setup
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -DORBALUNE_SANITIZE=ON

sanitize: setup $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

play: build
	cd data && exec ../$(BUILD)/orbalune

# The runner gives every test SDL's dummy video and audio drivers. The suite
# runs twice: as built, with the real binary under valgrind, and under the
# sanitizers, with the soak and the fuzzer.
test: build
	@echo "== The test suite in $(BUILD)/; the longest: a scripted run of the real binary under valgrind (about a minute)"
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@echo "== Building the sanitizer suite in $(ASAN_BUILD)/ with clang"
	@$(MAKE) --no-print-directory sanitize
	@echo "== The test suite again under AddressSanitizer and UBSan; the longest: the soak, 200 000 ticks of random play (about a minute)"
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Headless too; tick_share is the fraction of the 25 ms tick one call takes.
bench: build
	cd data && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ../$(BUILD)/orbalune-bench

# Screens of the game under a virtual X server, for the README.
screenshots: build
	@sh tools/setup-deps.sh --with-tools
	sh tools/screenshots.sh

# Launcher, binary, read-only assets, desktop entry and icon under PREFIX;
# DESTDIR works as usual for staging a package.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
