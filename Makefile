# A thin wrapper over the CMake presets: `make run` and `make test` work on a
# fresh Debian 12 machine.
PRESET ?= default
JOBS ?= $(shell nproc)

# The time every artefact carries: the last commit's, unless set. Exported,
# for the tools the build runs (Qt's resource compiler, CPack).
ifndef SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH := $(shell sh scripts/source-date-epoch.sh)
endif
export SOURCE_DATE_EPOCH
# "1.00", from the project's VERSION 1.0.0.0, as the program shows it.
VERSION := $(shell sed -n 's/^ *VERSION \([0-9]*\)\.\([0-9]*\)\..*/\1.\20/p' CMakeLists.txt | head -n 1)

FUZZ_SECONDS ?= 60
# How long each fuzz target runs inside `make test`.
FUZZ_TEST_SECONDS ?= 8

.PHONY: all deps configure build test test-default test-asan test-fuzz test-windows windows windows-package run package dist reproducible-check screenshot fuzz bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) --parallel $(JOBS)

# Every test four ways: the normal build; the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz targets, whose
# corpora are replayed and which then fuzz briefly; and the Windows build's
# tests under Wine.
test: test-default test-asan test-fuzz test-windows

test-default: build
	ctest --preset default --parallel $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan --parallel $(JOBS)
	ctest --preset asan --parallel $(JOBS)

test-fuzz: deps
	cmake --preset fuzz -DPARVOLIN_FUZZ_SECONDS=$(FUZZ_TEST_SECONDS)
	cmake --build --preset fuzz --parallel $(JOBS)
	ctest --preset fuzz

# The Windows program, build/windows/app/parvolin.exe, cross-compiled.
windows: deps
	cmake --preset windows
	cmake --build --preset windows --parallel $(JOBS)

# The Windows downloads: a zip and an installer, with SHA256SUMS, in build/windows.
windows-package: windows
	@cd build/windows && ls Parvolin-*-win64.zip Parvolin-*-win64-setup.exe && sha256sum -c SHA256SUMS

test-windows: windows
	ctest --preset windows --parallel $(JOBS)

# Looks for a display before anything is installed or built, then builds the
# program alone (no tests) and starts it.
run:
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "make run opens Parvolin's window, but this session has no display (DISPLAY and WAYLAND_DISPLAY are not set)."; \
		echo "Run it from a terminal in your desktop session, or over ssh -X from a machine with one."; \
		echo "make test needs no display."; \
		exit 1; \
	fi
	@bash scripts/install-deps.sh --run
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) --parallel $(JOBS) --target parvolin
	./build/$(PRESET)/app/parvolin

# The Debian package, with SHA256SUMS, in build/default.
package: build
	cmake --build --preset $(PRESET) --target package
	@cd build/$(PRESET) && ls *.deb && sha256sum -c SHA256SUMS

# The source tarball of the last commit, build/dist/parvolin-VERSION.tar.gz,
# with SHA256SUMS: the same bytes on every machine (git archive gives every
# file the commit's time; gzip -n stores no name or time).
dist:
	@git rev-parse -q --verify HEAD >/dev/null || { echo "make dist packs the last commit: it needs a git clone."; exit 1; }
	@mkdir -p build/dist
	git archive --format=tar --prefix=parvolin-$(VERSION)/ HEAD | gzip -9n > build/dist/parvolin-$(VERSION).tar.gz
	cd build/dist && sha256sum parvolin-$(VERSION).tar.gz > SHA256SUMS && cat SHA256SUMS

# Builds the downloads of the last commit twice, in two fresh clones in
# different folders, one after the other, and compares them byte for byte.
# Takes minutes: not part of make test.
reproducible-check: deps
	@bash scripts/install-deps.sh diffoscope-minimal
	bash scripts/reproducible-check.sh $(JOBS)

# Retakes the README's pictures of the real windows, on Linux and under Wine.
screenshot: build windows
	@bash scripts/install-deps.sh imagemagick
	bash scripts/screenshot.sh docs/screenshot.png build/$(PRESET)/app/parvolin
	bash scripts/screenshot.sh docs/screenshot-windows.png \
		scripts/wine-run.sh $(CURDIR)/build/windows/wine-x build/windows/app/parvolin.exe

# Benchmarks against their baselines; rewrites docs/PERFORMANCE.md.
bench: deps windows
	@bash scripts/install-deps.sh libbenchmark-dev libxcb-damage0-dev
	cmake --preset bench
	cmake --build --preset bench --parallel $(JOBS)
	bash bench/run.sh build/bench docs/PERFORMANCE.md build/windows

# Fuzzes every target for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
fuzz: deps
	cmake --preset fuzz -DPARVOLIN_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz --parallel $(JOBS)
	ctest --preset fuzz --verbose | grep -E 'Test #|replayed|executed_units|cov:|tests passed'

clean:
	rm -rf build
