# Varnel: `make run` to build and start it, `make test` to build and run every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR := $(if $(CI),ON,OFF)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-other-fonts test-as-user package bench format format-check fuzz \
	asan-test clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVARNEL_WERROR=$(WERROR) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/varnel

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure

# The window tests once more with the default faces hidden, so that the second faces serve.
OTHER_FONTS := $(CURDIR)/tests/fonts/without-default-faces.conf
test-other-fonts: build
	@export FONTCONFIG_FILE=$(OTHER_FONTS); \
	if fc-list | grep -qi dejavu; then echo "The default faces are not hidden" >&2; exit 1; fi; \
	echo "Fonts: $$(fc-match -f '%{family[0]}' sans-serif) and $$(fc-match -f '%{family[0]}' monospace)"; \
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --no-tests=error -L window --output-on-failure

# Every test executable once more as an unprivileged user; run as root.
test-as-user: build
	@bash scripts/test-as-user.sh $(BUILD_DIR)

# A Debian package, built in a folder of its own made afresh, so that nothing of an earlier build (a debug
# or sanitizer configuration, stale objects) reaches it: $(PACKAGE_DIR)/varnel_<version>_<arch>.deb.
PACKAGE_DIR ?= package-build
package: deps
	@rm -rf $(PACKAGE_DIR)
	@cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WERROR=$(WERROR) \
		-DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(PACKAGE_DIR)
	@cd $(PACKAGE_DIR) && cpack

# The benchmarks get a home of their own, as the tests do, so that they leave the real one untouched.
BENCH_HOME = $(abspath $(BUILD_DIR))/bench-home
BENCH_ENV = QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 HOME=$(BENCH_HOME)/home XDG_CONFIG_HOME=$(BENCH_HOME)/config \
	XDG_CACHE_HOME=$(BENCH_HOME)/cache XDG_DATA_HOME=$(BENCH_HOME)/data XDG_RUNTIME_DIR=$(BENCH_HOME)/runtime
bench: build
	@cmake -DROOT=$(BENCH_HOME) -P scripts/isolated-home.cmake
	@env $(BENCH_ENV) $(BUILD_DIR)/bench/varnel_bench

# Tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test:
	@$(MAKE) --no-print-directory test BUILD_DIR=build-asan BUILD_TYPE=Debug \
		CMAKE_ARGS="-DVARNEL_SANITIZE=ON -DVARNEL_BUILD_BENCH=OFF"

FUZZ_SECONDS ?= 60
fuzz:
	@bash scripts/install-deps.sh --fuzz
	@CXX=clang++ cmake -S . -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_FUZZ=ON \
		-DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCH=OFF >/dev/null
	@cmake --build fuzz-build --target fuzz_lines
	@mkdir -p fuzz/corpus-lines
	@fuzz-build/fuzz/fuzz_lines -max_total_time=$(FUZZ_SECONDS) fuzz/corpus-lines fuzz/seeds

SOURCES = $(shell git ls-files '*.cpp' '*.h')
format:
	@clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	@rm -rf $(BUILD_DIR) build-asan fuzz-build $(PACKAGE_DIR)
