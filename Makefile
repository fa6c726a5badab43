# Tessaro: the two set-up commands of the README, and a few helpers.
#   make run   installs what the program needs, builds it alone (no test
#              programs), starts Tessaro on a demo directory
#   make test  installs what is missing, builds, runs every test through ctest
#              (SAN=1: with address and undefined-behaviour sanitizers, in build-san)
#   make format        rewrites every C++ file as .clang-format says
#   make format-check  fails when a C++ file is not formatted so (CI)
#   make fuzz  runs every libFuzzer target FUZZ_SECONDS (default 60) over its corpus
#   make bench measures start-up, import, commit and memory against their references
#   make windows       cross-builds tessaro.exe (build-win), packs dist/tessaro-win64.zip
#                      and builds the installer dist/tessaro-<version>-win64.msi; with
#                      SIGN_PKCS12=cert.p12 (password from SIGN_PASSWORD_FILE or the
#                      environment's SIGN_PASSWORD, SIGN_TIMESTAMP_URL optional) both
#                      the exe and the installer are signed
#   make test-windows  runs the core tests, the packed program and the installer under Wine

BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
SAN      ?=
WERROR   ?=
CMAKE_FLAGS ?=

# WERROR=1: every compiler warning fails the build (CI). Said on each configure,
# so a build directory does not keep it from an earlier run.
override CMAKE_FLAGS += -DTESSARO_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF)

ifeq ($(SAN),1)
BUILD := build-san
override CMAKE_FLAGS += -DTESSARO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# Sanitizer options and leak suppressions are built into the programs
# themselves (cmake/sanitizer_defaults.cpp.in), so ctest alone runs the same.
endif

# Debian packages the Linux program and its demo need: the compiler, Qt, xcb for
# the window hints, Tahoma (fonts-wine holds only fonts) and Qt's German texts.
RUN_PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev \
                fonts-wine fonts-dejavu-core qt6-translations-l10n
# What the tests add: GoogleTest, the X server and tools the end-to-end runs
# drive the program with, MinGW-w64 with Wine for the profile comparison,
# and strace for the injected faults.
TEST_PACKAGES := libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils x11-xkb-utils \
                 g++-mingw-w64-x86-64-posix wine wine64 openbox strace
PACKAGES := $(RUN_PACKAGES) $(TEST_PACKAGES)

FUZZ_SECONDS ?= 60

.PHONY: all deps build test run clean format format-check fuzz bench windows test-windows qt-mingw \
        qt-mingw-prefix

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:$$missing"; \
	  if [ "$$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTESSARO_BUILD_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

# ctest shows a skipped test as "Skipped" alone; tools/skipped.sh adds the reasons
# and the count.
test: build
	(cd $(BUILD) && ctest --output-on-failure -j $(JOBS)); status=$$?; \
	sh tools/skipped.sh $(BUILD); exit $$status

# The program alone. A build directory made here leaves the tests out, so
# GoogleTest is not needed; one that make test has made keeps them configured.
run: PACKAGES := $(RUN_PACKAGES)
run: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) \
	  $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DTESSARO_BUILD_TESTS=OFF)
	cmake --build $(BUILD) -j $(JOBS) --target tessaro
	@sh tools/demo.sh $(BUILD)

format format-check: PACKAGES += clang-format
format: deps
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-san build-fuzz build-bench build-win dist

# The fuzzers need clang with its libFuzzer runtime; core only, never Qt.
fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_BUILD=$(CURDIR)/build-fuzz JOBS=$(JOBS) sh tools/fuzz.sh

# Figures, not tests: start-up and memory against a bare Qt program on Xvfb,
# import and commit against read() and cp plus sync.
bench: PACKAGES += libbenchmark-dev libxcb1-dev
# With a Qt for Windows at hand, start-up under Wine too (make windows first).
bench: deps
	@if [ -f "$(QT_MINGW_PREFIX)/lib/cmake/Qt6/Qt6Config.cmake" ]; then $(MAKE) windows; fi
	BENCH_BUILD=$(CURDIR)/build-bench JOBS=$(JOBS) WIN_BUILD=$(CURDIR)/$(WIN_BUILD) \
	  WIN_ZIP=$(CURDIR)/dist/tessaro-win64.zip sh tools/bench.sh

# Windows: Debian's MinGW-w64 (the -posix compilers) against a Qt for Windows
# outside the project, by default the one in ../shared/toolchains.
QT_MINGW_PREFIX ?= $(abspath $(CURDIR)/../shared/toolchains/qt6-mingw64-6.4.2)
WIN_BUILD ?= build-win
WIN_PACKAGES := g++-mingw-w64-x86-64-posix ninja-build googletest qt6-translations-l10n icoutils \
                wine wine64 zip unzip libc-bin wixl msitools osslsigncode openssl

# For .ci/run, so that the default path stands here alone.
qt-mingw-prefix:
	@echo $(QT_MINGW_PREFIX)

qt-mingw:
	@[ -f "$(QT_MINGW_PREFIX)/lib/cmake/Qt6/Qt6Config.cmake" ] || { \
	  echo "No Qt for Windows at QT_MINGW_PREFIX=$(QT_MINGW_PREFIX)."; \
	  echo "Point QT_MINGW_PREFIX at a Qt 6.4.2 cross-built for MinGW-w64, or build one"; \
	  echo "once (60-80 minutes on 2 cores, best in the background) with the recipe"; \
	  echo "../shared/toolchains/build-qt6-mingw64.sh $(QT_MINGW_PREFIX)"; \
	  exit 1; }

windows: PACKAGES += $(WIN_PACKAGES)
windows: deps qt-mingw
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw64-posix.cmake \
	  -DCMAKE_PREFIX_PATH=$(QT_MINGW_PREFIX) \
	  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake $(CMAKE_FLAGS)
	cmake --build $(WIN_BUILD) -j $(JOBS) --target tessaro core_tests window_texts
	SIGN_PKCS12="$(SIGN_PKCS12)" SIGN_PASSWORD_FILE="$(SIGN_PASSWORD_FILE)" \
	  SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)" \
	  sh tools/package_windows.sh $(WIN_BUILD) $(QT_MINGW_PREFIX) dist/tessaro-win64.zip

test-windows: windows
	sh tools/test_windows.sh $(WIN_BUILD) dist/tessaro-win64.zip
