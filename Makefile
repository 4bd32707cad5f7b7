# The two commands of the README, and a few more for developers.
#   make run    install what is missing, build, start Tessaly
#   make check  install what is missing, build, run every test (and the core tests under ASan/UBSan)
#   make bench  build and run the benchmarks
#   make fuzz   build the MetaStock library's fuzz target with clang and run it FUZZ_SECONDS (600)
#   make install  build and install into PREFIX (/usr/local)
#   make package  build the Debian package build/tessaly_VERSION_ARCH.deb
.PHONY: all deps configure build run check format format-check test asan bench fuzz install package clean

BUILD_DIR := build
ASAN_DIR := build/asan
CMAKE_FLAGS := -DTESSALY_WERROR=ON
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 600
PREFIX ?= /usr/local

all: build

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake --preset default $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR)

run: build
	@if [ -x $(BUILD_DIR)/src/app/tessaly ]; then $(BUILD_DIR)/src/app/tessaly; \
	else $(BUILD_DIR)/src/app/cli/tessaly-cli --help; fi

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	@echo "Formatting: clean"

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure

$(ASAN_DIR)/CMakeCache.txt:
	cmake --preset asan $(CMAKE_FLAGS) -DTESSALY_GUI=OFF

asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR)
	ctest --test-dir $(ASAN_DIR) --output-on-failure -L core

check: format-check test asan

bench: configure
	cmake --build $(BUILD_DIR) --target benchmarks
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz:
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR)
	mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/artifacts
	cd $(FUZZ_DIR) && ./metalib_fuzzer -jobs=1 -max_total_time=$(FUZZ_SECONDS) \
		-artifact_prefix=artifacts/ corpus ../../fuzz/corpus/metalib

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
