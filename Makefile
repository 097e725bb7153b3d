# Two entry points: `make run` and `make test`. Both install what is missing first.
SHELL := /bin/bash
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
# The tests mostly wait for the printer's replies and deadlines: twice as many run at once
# as there are processors.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 2 )))
PKGS  := cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgtest-dev \
         libgl-dev qt6-image-formats-plugins qt6-serialport-dev help2man desktop-file-utils \
         libcli11-dev nlohmann-json3-dev libssl-dev
BUILD := build
ASAN  := build-asan
PREFIX ?= /usr/local

.PHONY: run test test-tsan deps build build-asan bench fuzz install uninstall package clean windows windows-installer test-windows screenshots windows-screenshots

deps:
	@missing=$$(for p in $(PKGS); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  if [ "$$(id -u)" = 0 ]; then SUDO=; else SUDO=sudo; fi; \
	  $$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRINTSET_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPRINTSET_WERROR=ON -DPRINTSET_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)

run: build
	./$(BUILD)/src/app/printset

test: build build-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS) --timeout 300
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(TEST_JOBS) --timeout 600

# ThreadSanitizer over the tests where threads meet: the link, the engine, and the front
# end's racks, detect and interrupts, against printset-cli built the same way. Qt is left
# out of this build (its libraries are not built with the sanitizer), so it is quick.
# gcc 12's sanitizer cannot start where the kernel scatters mappings widely
# (vm.mmap_rnd_bits above 28: "unexpected memory mapping"); the build and the tests run
# without address-space randomisation where the system lets setarch turn it off.
TSAN      := build-tsan
TSAN_BASE := $(shell setarch "$$(uname -m)" -R true 2>/dev/null && echo setarch "$$(uname -m)" -R)

test-tsan: deps
	cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRINTSET_WERROR=ON -DPRINTSET_TSAN=ON
	$(TSAN_BASE) cmake --build $(TSAN) -j $(JOBS)
	cd $(TSAN) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(TSAN_BASE) ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	./$(BUILD)/bench/printset-bench

# Pictures of the window's three pages, drawn offscreen, as PNG files in SHOTS.
SHOTS ?= $(BUILD)/screenshots

screenshots: build
	cmake --build $(BUILD) --target printset-screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/printset-screenshots $(SHOTS)

# The three programs, their manual pages, desktop files, completion and the sample
# config.ini under PREFIX (BUILD=... installs another build folder).
# CMake's install manifest is kept as make-install-manifest.txt: `make package` and the
# install tests write install_manifest.txt of their own.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	cp $(BUILD)/install_manifest.txt $(BUILD)/make-install-manifest.txt

# Removes what the last `make install` from this build folder put in place, and the
# folders it made; folders that were there before stay.
uninstall:
	cmake -DBUILD_DIR=$(BUILD) -DMANIFEST=$(BUILD)/make-install-manifest.txt -P cmake/Uninstall.cmake

# The Debian package, made by CPack in the build folder; dpkg-shlibdeps and file find
# its run-time dependencies.
package: build
	@$(MAKE) --no-print-directory deps PKGS="dpkg-dev file"
	cd $(BUILD) && cpack -G DEB
	@echo "package: $$(ls -t $(CURDIR)/$(BUILD)/printset_*.deb | head -n 1)"

# libFuzzer targets (clang), each for FUZZ_SECONDS on a copy of its seed corpus.
FUZZ         := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PKGS    := clang-14 llvm-14 libclang-rt-14-dev

fuzz: deps
	@$(MAKE) --no-print-directory deps PKGS="$(FUZZ_PKGS)"
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPRINTSET_WERROR=ON -DPRINTSET_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS)
	fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS)

# Windows: printset-cli.exe and the Qt-free test programs, cross-built with MinGW-w64 as
# static executables; `windows-installer` packs them (NSIS setup, MSI, portable zip);
# `test-windows` runs the tests under Wine against native peers, then installs, runs and
# removes each package silently. fonts-wine comes before the Wine prefix is made.
WIN       := build-win
WIN_PKGS  := g++-mingw-w64-x86-64-posix googletest
WINE_PKGS := fonts-wine wine64
WIN_INSTALLER_PKGS := nsis wixl zip

windows: deps
	@$(MAKE) --no-print-directory deps PKGS="$(WIN_PKGS)"
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DPRINTSET_WINDOWS_CROSS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRINTSET_WERROR=ON
	cmake --build $(WIN) -j $(JOBS)

windows-installer: windows
	@$(MAKE) --no-print-directory deps PKGS="$(WIN_INSTALLER_PKGS)"
	packaging/windows/make-installers.sh $(WIN) $(WIN)/installer

test-windows: windows-installer build
	@$(MAKE) --no-print-directory deps PKGS="$(WINE_PKGS) unzip"
	status=0; \
	tests/support/wine/run-tests.sh $(WIN) $(BUILD) || status=1; \
	tests/support/wine/window-tests.sh $(WIN) $(BUILD) || status=1; \
	tests/support/wine/installer-tests.sh $(WIN) $(WIN)/installer || status=1; \
	exit $$status

# Pictures of the Windows window's three pages under Wine at 100 % and 200 %, as
# SHOTS/windows-PAGE-SCALE.png: Xvfb, a Wine desktop, xwd and netpbm.
WIN_SHOT_PKGS := xvfb x11-apps netpbm

windows-screenshots: windows
	@$(MAKE) --no-print-directory deps PKGS="$(WINE_PKGS) $(WIN_SHOT_PKGS)"
	tests/support/wine/window-screenshots.sh $(WIN) $(SHOTS)

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN)
