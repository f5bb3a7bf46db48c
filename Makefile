# The front door: each target installs what is missing, then hands over to CMake.
BUILD := build
ASAN_BUILD := build-asan
PREFIX ?= /usr/local
JOBS  := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build sanitize play test bench pacing screenshots install uninstall deb clean

all: build

# Targets that need more than building and playing ask for it here; the
# options reach setup through the targets' prerequisites.
setup:
	@sh tools/setup-deps.sh $(SETUP_OPTIONS)

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD)

# A packager may have configured the build without the tests; the targets
# that run them turn them back on.
configure: setup $(BUILD)/CMakeCache.txt
	@$(if $(TESTING),grep -q '^BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt \
	    || cmake -S . -B $(BUILD) -DBUILD_TESTING=ON,:)

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
# runs twice: as built, with the real binary under valgrind and the Debian
# package built and played, and under the sanitizers, with the soak and the
# fuzzer.
test: SETUP_OPTIONS = --with-packaging
test: TESTING = yes
test: build
	@echo "== The test suite in $(BUILD)/; the longest: a scripted run of the real binary under valgrind (about a minute)"
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@echo "== Building the sanitizer suite in $(ASAN_BUILD)/ with clang"
	@$(MAKE) --no-print-directory sanitize
	@echo "== The test suite again under AddressSanitizer and UBSan; the longest: the soak, 200 000 ticks of random play (about a minute)"
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Headless too; tick_share is the fraction of the 25 ms tick one call takes.
bench: TESTING = yes
bench: build
	cd data && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ../$(BUILD)/orbalune-bench

# The real game's tick intervals and processor use, idle, playing and paused.
pacing: TESTING = yes
pacing: build
	sh tools/pacing/run.sh

# Screens of the game under a virtual X server, for the README.
screenshots: SETUP_OPTIONS = --with-tools
screenshots: TESTING = yes
screenshots: build
	sh tools/screenshots.sh

# Installing uses what 'make' built and builds nothing, so 'sudo make install'
# never compiles as root. Launcher, binary, read-only assets, man page,
# desktop entry, metainfo and icons go under PREFIX; DESTDIR stages a package.
# Uninstalling removes exactly the files the same install puts there.
require_build = @[ -f $(BUILD)/cmake_install.cmake ] && [ -x $(BUILD)/orbalune ] || { \
	    echo "make $@: nothing is built in $(BUILD)/: run 'make' first, then 'make $@'" >&2; \
	    exit 1; }

install:
	$(require_build)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	$(require_build)
	DESTDIR="$(DESTDIR)" sh packaging/uninstall.sh $(BUILD) $(PREFIX)

# The Debian package, built from a clean copy of the tree, and checked.
deb: SETUP_OPTIONS = --with-packaging
deb: setup
	sh tools/deb.sh $(BUILD)/deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
