# Tessaro: the two set-up commands of the README, and a few helpers.
#   make run   installs what is missing, builds, starts Tessaro on a demo directory
#   make test  installs what is missing, builds, runs every test through ctest
#              (SAN=1: with address and undefined-behaviour sanitizers, in build-san)
#   make fuzz  runs every libFuzzer target FUZZ_SECONDS (default 60) over its corpus
#   make bench measures start-up, import, commit and memory against their references

BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
SAN      ?=
CMAKE_FLAGS ?=

ifeq ($(SAN),1)
BUILD := build-san
CMAKE_FLAGS += -DTESSARO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# Sanitizer options and leak suppressions are built into the programs
# themselves (cmake/sanitizer_defaults.cpp.in), so ctest alone runs the same.
endif

# Debian packages the build, the tests and the demo need.
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            qt6-translations-l10n fonts-wine fonts-dejavu-core xvfb xauth xdotool x11-utils \
            x11-xkb-utils libxcb1-dev openbox

FUZZ_SECONDS ?= 60

.PHONY: all deps build test run clean format fuzz bench

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
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@sh tools/demo.sh $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-san build-fuzz build-bench

# The fuzzers need clang with its libFuzzer runtime; core only, never Qt.
fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_BUILD=$(CURDIR)/build-fuzz JOBS=$(JOBS) sh tools/fuzz.sh

# Figures, not tests: start-up and memory against a bare Qt program on Xvfb,
# import and commit against read() and cp plus sync.
bench: PACKAGES += libbenchmark-dev libxcb1-dev
bench: deps
	BENCH_BUILD=$(CURDIR)/build-bench JOBS=$(JOBS) sh tools/bench.sh
