# Every target installs what is missing and builds what it needs first, so each one works as
# the first command on a fresh Debian 12 machine.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
ASAN_BUILD ?= build-asan
# Warnings fail the build here as in CI (.ci/run calls `make test` and `make test-asan`);
# `make WERROR=OFF ...` only to look at a new compiler's complaints all at once.
WERROR     ?= ON
# Paths relative to the checkout and no build-folder hash, so a fresh clone elsewhere hits the
# same cache entries (debug info would otherwise make ccache hash the working directory).
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps configure build demo test test-asan bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVIA_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVIA_SANITIZE=ON -DQUORVIA_WERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
