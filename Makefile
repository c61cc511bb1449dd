# Two entry points matter: `make run` and `make test`. Both install what is missing first.
# The folders of the presets in CMakePresets.json.
BUILD      := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
TSAN_BUILD := build-tsan
JOBS       ?= $(shell nproc)
# Seconds each fuzz target runs in `make fuzz`; cases of `make soak`.
FUZZ_SECONDS ?= 60
SOAK_CASES   ?= 1000000
# Mutants of `make mutants` and the seed that picks them.
MUTANTS      ?= 150
MUTANTS_SEED ?= 1

.PHONY: all setup build run test test-fast asan tsan bench screenshots package fuzz soak format tidy mutants coverage clean

all: build

setup:
	@bash scripts/setup.sh

# The build folders and their flags are the presets of CMakePresets.json: release (build/),
# asan (build-asan/) and fuzz (build-fuzz/).
$(BUILD)/build.ninja: CMakeLists.txt CMakePresets.json | setup
	cmake --preset release

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# Every test through ctest, then the core and command-line tests again under the sanitizers,
# and the parallel batch under ThreadSanitizer.
test: build
	ctest --preset release -j $(JOBS)
	$(MAKE) --no-print-directory asan
	$(MAKE) --no-print-directory tsan

test-fast: build
	ctest --preset release -j $(JOBS)

asan: setup
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# tallex-cli alone under ThreadSanitizer (build-tsan/): its parallel batch over generated cases
# and a loan tape; any race report fails.
tsan: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target generate_cases
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	bash tests/cli/tsan_batch.sh $(TSAN_BUILD) $(BUILD)

bench: build
	@bash scripts/bench.sh $(BUILD)

# Every fuzz target under libFuzzer with ASan+UBSan (clang, its own build folder) for
# FUZZ_SECONDS each; findings go to $(FUZZ_BUILD)/fuzz-findings and fail the target.
fuzz:
	@TALLEX_WITH_FUZZ=1 bash scripts/setup.sh
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	bash tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# tallex-cli batch over SOAK_CASES generated cases (and a tenth as many): every case answered,
# the summary adding up, peak memory flat and under 100 MB.
soak: build
	bash bench/soak.sh $(BUILD) $(SOAK_CASES)

# Formats every C++ source as .clang-format says; `make test` checks it (format.check).
format: setup
	bash scripts/check-format.sh --fix

# clang-tidy with the curated checks of .clang-tidy over the core and the case files.
tidy: build
	@TALLEX_WITH_TIDY=1 bash scripts/setup.sh
	bash scripts/tidy.sh $(BUILD)

# MUTANTS seeded single faults in core/, casefile/ and cli/, each rebuilt (build-mutants/) and
# put to the non-GUI tests; prints the kill rate and every survivor with its diff.
mutants: setup
	MUTANTS=$(MUTANTS) MUTANTS_SEED=$(MUTANTS_SEED) python3 scripts/mutants.py

# Line coverage of core/, casefile/ and cli/ by the non-GUI tests (gcov build in build-coverage/).
coverage: setup
	bash scripts/coverage.sh build-coverage $(JOBS)

screenshots: build
	cmake --build $(BUILD) --target screenshots

# The Debian package of what `cmake --install` puts, through CPack: $(BUILD)/tallex_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD) build-mutants build-coverage
