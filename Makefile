# Entry points: make demo | test | check-sanitize | bench | fuzz | install
SHELL := /bin/bash
BUILD ?= build
JOBS ?= 2
# Each fuzz target runs until it has tried FUZZ_RUNS inputs (-1: no limit),
# within FUZZ_SECONDS per target on average (scripts/run-fuzz.sh); FUZZ_FLAGS
# go to every target (e.g. -entropic=0). Targets run FUZZ_JOBS at a time (one
# per processor when unset). Most targets reach FUZZ_RUNS in well under
# FUZZ_SECONDS and leave their time to the slow ones (document round trips,
# line loads), which need up to four minutes of processor time; the whole
# run takes at most 20 minutes.
FUZZ_SECONDS ?= 80
FUZZ_RUNS ?= 1000000
FUZZ_FLAGS ?=
CMAKE_GEN := -G Ninja

.PHONY: all setup build demo test check-sanitize bench fuzz install clean

all: build

setup:
	@bash scripts/setup.sh

# Release with assertions kept on (no NDEBUG).
$(BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2"

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@if [ -x $(BUILD)/apps/gallery/vorn-gallery ]; then \
	  if [ -n "$$DISPLAY" ] && [ -x $(BUILD)/apps/gallery/vorn-gallery-sdl ]; then \
	    $(BUILD)/apps/gallery/vorn-gallery-sdl; \
	  else \
	    $(BUILD)/apps/gallery/vorn-gallery --png gallery-out; \
	  fi; \
	else \
	  mkdir -p gallery-out && $(BUILD)/apps/testcard/vorn-testcard gallery-out/testcard.png; \
	fi

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --timeout 600 | tail -n 40; exit $${PIPESTATUS[0]}

check-sanitize: setup
	cmake -S . -B build-sanitize $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVORN_SANITIZE=ON -DVORN_BUILD_APPS=OFF
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest -j $(JOBS) --output-on-failure --timeout 900 | tail -n 40; exit $${PIPESTATUS[0]}

bench: setup
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVORN_BUILD_BENCH=ON -DVORN_BUILD_TESTS=OFF -DVORN_BUILD_APPS=OFF
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/vorn-bench-*; do echo "== $$b"; $$b --benchmark_min_time=0.2 || exit 1; done

fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_BUILD_FUZZ=ON -DVORN_BUILD_TESTS=OFF -DVORN_BUILD_APPS=OFF
	cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzz.sh $(FUZZ_SECONDS) $(FUZZ_RUNS) $(FUZZ_FLAGS)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf build build-sanitize build-bench build-fuzz gallery-out
