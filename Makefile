# Velmora: `make demo` builds and shows the command at work; `make test`
# builds and runs every test. Both install missing Debian packages first.

BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build quiet-build test test-asan test-tsan demo bench fuzz mutants clean format check-format \
	install package

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

TSAN_BUILD ?= build-tsan

test: build
	@bash scripts/check-format.sh
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) test-asan
	@$(MAKE) test-tsan

# The whole suite again with AddressSanitizer (leaks included) and UBSan;
# any finding fails the test that triggered it. A Debug build: optimised
# instrumented code draws false warnings from the compiler. The build is
# quiet unless it fails, so the run ends with ctest's summary.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON \
	  -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_EXAMPLES=OFF -DVELMORA_BUILD_PYTHON=OFF \
	  $(CMAKE_FLAGS) \
	  > $(ASAN_BUILD).configure.log 2>&1 || { cat $(ASAN_BUILD).configure.log; exit 1; }
	@cmake --build $(ASAN_BUILD) -j $(JOBS) > $(ASAN_BUILD).build.log 2>&1 \
	  || { cat $(ASAN_BUILD).build.log; exit 1; }
	@echo "Sanitizer suite ($(ASAN_BUILD): address, leaks, undefined behaviour)"
	@cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Independent converters in several threads under ThreadSanitizer: the
# library and that one test only, so it stays quick. Any race fails it.
test-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_THREAD_SANITIZE=ON \
	  -DVELMORA_BUILD_CLI=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_EXAMPLES=OFF \
	  -DVELMORA_BUILD_PYTHON=OFF -DVELMORA_TEST_LAYERS=foundation $(CMAKE_FLAGS) \
	  > $(TSAN_BUILD).configure.log 2>&1 || { cat $(TSAN_BUILD).configure.log; exit 1; }
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target velmora_thread_tests > $(TSAN_BUILD).build.log 2>&1 \
	  || { cat $(TSAN_BUILD).build.log; exit 1; }
	@echo "Thread sanitizer test ($(TSAN_BUILD))"
	@TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/bin/velmora_thread_tests

# The library, its headers and data files, the command, and the CMake and
# pkg-config files under PREFIX (bin/, lib/, include/, share/velmora/).
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same files under /usr, in $(BUILD)/.
package: build
	@cd $(BUILD) && cpack -G DEB

demo: quiet-build
	@rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	@echo "\$$ velmora --version"
	@$(BUILD)/bin/velmora --version
	@echo
	@echo "\$$ velmora count samples/*.vcf"
	@$(BUILD)/bin/velmora count samples/*.vcf
	@echo
	@echo "\$$ velmora convert samples/*.vcf -o $(BUILD)/demo/contacts-3.0.vcf"
	@$(BUILD)/bin/velmora convert samples/*.vcf -o $(BUILD)/demo/contacts-3.0.vcf 2>&1
	@echo
	@echo "\$$ velmora convert samples/*.vcf --vcard-version 2.1 --split -o $(BUILD)/demo/cards-2.1"
	@$(BUILD)/bin/velmora convert samples/*.vcf --vcard-version 2.1 --split -o $(BUILD)/demo/cards-2.1 2>&1
	@echo
	@echo "\$$ velmora preview $(BUILD)/demo/contacts-3.0.vcf"
	@$(BUILD)/bin/velmora preview $(BUILD)/demo/contacts-3.0.vcf
	@echo
	@echo "\$$ ls $(BUILD)/demo/cards-2.1"
	@ls -1 $(BUILD)/demo/cards-2.1
	@echo
	@echo "\$$ velmora convert samples/*.vcf -o $(BUILD)/demo/contacts-outlook.csv"
	@$(BUILD)/bin/velmora convert samples/*.vcf -o $(BUILD)/demo/contacts-outlook.csv 2>&1
	@echo
	@echo "\$$ velmora convert samples/*.vcf --csv-dialect google -o $(BUILD)/demo/contacts-google.csv"
	@$(BUILD)/bin/velmora convert samples/*.vcf --csv-dialect google -o $(BUILD)/demo/contacts-google.csv 2>&1
	@echo
	@echo "\$$ velmora detect samples/google-contacts.csv $(BUILD)/demo/contacts-outlook.csv"
	@$(BUILD)/bin/velmora detect samples/google-contacts.csv $(BUILD)/demo/contacts-outlook.csv
	@echo
	@echo "\$$ velmora convert $(BUILD)/demo/contacts-outlook.csv -o $(BUILD)/demo/back-from-outlook.vcf"
	@$(BUILD)/bin/velmora convert $(BUILD)/demo/contacts-outlook.csv -o $(BUILD)/demo/back-from-outlook.vcf 2>&1
	@echo
	@echo "\$$ velmora preview samples/google-contacts.csv"
	@$(BUILD)/bin/velmora preview samples/google-contacts.csv
	@echo
	@echo "Output: $(BUILD)/demo/contacts-3.0.vcf (vCard 3.0, one file)"
	@echo "        $(BUILD)/demo/cards-2.1/ (vCard 2.1, one file per contact)"
	@echo "        $(BUILD)/demo/contacts-outlook.csv, contacts-google.csv (CSV)"
	@echo "        $(BUILD)/demo/back-from-outlook.vcf (the Outlook CSV read back)"

bench: build
	@$(BUILD)/bin/velmora_bench --benchmark_min_time=0.5

fuzz:
	@bash scripts/fuzz.sh

# How many small faults in src/ and cli/ the tests catch: N viable mutants
# drawn with SEED, each built and tested in build-mutants (Release, no
# sanitizers). The tree is restored after each one; nothing is committed.
N ?= 150
SEED ?= 1
mutants: deps
	@python3 scripts/mutants.py --count $(N) --seed $(SEED) --build build-mutants

format:
	@find src include cli tests bench fuzz examples python -name '*.cpp' -o -name '*.h' | xargs clang-format -i

check-format:
	@bash scripts/check-format.sh

clean:
	@rm -rf $(BUILD) $(BUILD).configure.log $(BUILD).build.log build-*
