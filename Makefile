# The two commands a newcomer needs: `make run` (the game) and `make test` (every test).
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
TEST_ENV    = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

.PHONY: all deps configure build test run asan fuzz bench clean

all: build

deps:
	./scripts/setup-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && $(TEST_ENV) ctest -j $(JOBS) --output-on-failure --timeout 300

run: build
	$(BUILD)/bin/mirufen

# The tests marked for the sanitizer run, built with ASan + UBSan.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBR_SANITIZE=ON -DCMAKE_CXX_FLAGS=-O1
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target asan_tests
	cd $(ASAN_BUILD) && $(TEST_ENV) ASAN_OPTIONS=detect_leaks=1 ctest -j $(JOBS) --output-on-failure \
	  --timeout 600 -L sanitize

# The libFuzzer binaries (clang). Run one with: build-fuzz/bin/<target> <corpus folder>
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBR_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

bench: build
	./bench/run $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
