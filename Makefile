# Two entry points matter: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
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

screenshots: build
	cmake --build $(BUILD) --target screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
