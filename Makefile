# Velmora: `make demo` builds and shows the command at work; `make test`
# builds and runs every test. Both install missing Debian packages first.

BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build quiet-build test demo bench fuzz clean format

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) > $(BUILD).configure.log 2>&1 \
	  || { cat $(BUILD).configure.log; exit 1; }

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The build's own output only when it fails.
quiet-build: configure
	@cmake --build $(BUILD) -j $(JOBS) > $(BUILD).build.log 2>&1 \
	  || { cat $(BUILD).build.log; exit 1; }

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: quiet-build
	@echo "\$$ velmora --version"
	@$(BUILD)/bin/velmora --version
	@echo
	@echo "\$$ velmora encodings"
	@$(BUILD)/bin/velmora encodings

bench: build
	@$(BUILD)/bin/velmora_bench --benchmark_min_time=0.5

fuzz:
	@bash scripts/fuzz.sh

format:
	@find src include cli tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BUILD).configure.log $(BUILD).build.log build-*
