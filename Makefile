# A thin wrapper over the CMake presets: `make run` and `make test` work on a
# fresh Debian 12 machine.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run package screenshot clean

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
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "No display to open the window on; to run it on a virtual one: xvfb-run make run"; \
		exit 1; \
	fi
	./build/$(PRESET)/app/parvolin

package: build
	cmake --build --preset $(PRESET) --target package
	@ls build/$(PRESET)/*.deb

# Retakes the README's picture of the real window.
screenshot: build
	@bash scripts/install-deps.sh xdotool imagemagick
	bash scripts/screenshot.sh build/$(PRESET)/app/parvolin docs/screenshot.png

clean:
	rm -rf build
