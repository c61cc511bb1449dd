# Two entry points matter: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# Seconds each fuzz target runs in `make fuzz`; cases of `make soak`.
FUZZ_SECONDS ?= 60
SOAK_CASES   ?= 1000000
CMAKE_GEN  := -G Ninja

.PHONY: all setup build run test test-fast asan bench screenshots fuzz soak clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt | setup
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# Every test through ctest, then the core and command-line tests again under the sanitizers.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory asan

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan: setup
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTALLEX_SANITIZE=ON \
	  -DTALLEX_BUILD_APP=OFF -DTALLEX_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	@bash scripts/bench.sh $(BUILD)

# Every fuzz target under libFuzzer with ASan+UBSan (clang, its own build folder) for
# FUZZ_SECONDS each; findings go to $(FUZZ_BUILD)/fuzz-findings and fail the target.
fuzz:
	@TALLEX_WITH_FUZZ=1 bash scripts/setup.sh
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DTALLEX_BUILD_APP=OFF -DTALLEX_BUILD_BENCH=OFF -DTALLEX_FUZZ=ON \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
	cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)
	bash tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# tallex-cli batch over SOAK_CASES generated cases (and a tenth as many): every case answered,
# the summary adding up, peak memory flat and under 100 MB.
soak: build
	bash bench/soak.sh $(BUILD) $(SOAK_CASES)

screenshots: build
	cmake --build $(BUILD) --target screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
