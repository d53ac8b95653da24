# Thin wrapper over CMake: `make run` builds and starts Pellix, `make test` runs every test.
BUILD    ?= build
ASAN     ?= build-asan
BENCHDIR ?= build-bench
FUZZDIR  ?= build-fuzz
WINBUILD ?= build-win
WINBASE ?= build-win-base
FUZZ_SECONDS ?= 60
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
ARGS     ?=

.PHONY: all deps build run keys test windows-test windows-base-test windows-dist valgrind sanitize bench startup-bench click-bench fuzz format clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DPELLIX_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/pellix $(ARGS)

keys: build
	./$(BUILD)/cli/pellix-keys $(ARGS)

# No include from a lower folder to a higher one; needs no build.
.PHONY: check-includes check-format
check-includes:
	sh scripts/check-includes.sh

# Every C++ source of the tree as clang-format writes it (.clang-format).
SOURCES = find . -path './build*' -prune -o -path ./.git -prune -o \( -name '*.h' -o -name '*.cpp' \) -print
check-format: deps
	$(SOURCES) | xargs clang-format --dry-run -Werror

test: check-includes check-format build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole program cross-compiled for Windows against the Qt kit (built once
# into ~/.cache/pellix), every test under Wine, random key sequences compared
# with the Linux build, the zip and the installer tried.
windows-test:
	sh scripts/windows-test.sh $(WINBUILD) $(JOBS) --qt

# The quick part of it: what needs no Qt, without the kit.
windows-base-test:
	sh scripts/windows-test.sh $(WINBASE) $(JOBS)

# The downloads for Windows users: $(WINBUILD)/pellix-<version>-win64.zip and
# $(WINBUILD)/pellix-<version>-setup.exe.
windows-dist:
	KIT=$$(sh scripts/windows-build.sh $(WINBUILD) $(JOBS)) && sh scripts/windows-dist.sh $(WINBUILD) "$$KIT"

valgrind: build
	sh scripts/valgrind-tests.sh $(BUILD)

sanitize: deps
	cmake -S . -B $(ASAN) -DPELLIX_WERROR=ON -DPELLIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCHDIR) -DCMAKE_BUILD_TYPE=Release -DPELLIX_BUILD_TESTS=OFF -DPELLIX_BUILD_BENCH=ON
	cmake --build $(BENCHDIR) -j $(JOBS)
	for b in $(BENCHDIR)/bench/bench_*; do $$b; done

startup-bench: deps
	cmake -S . -B $(BENCHDIR) -DCMAKE_BUILD_TYPE=Release -DPELLIX_BUILD_TESTS=OFF -DPELLIX_BUILD_BENCH=ON
	cmake --build $(BENCHDIR) -j $(JOBS)
	sh bench/startup.sh $(BENCHDIR)

click-bench: deps
	cmake -S . -B $(BENCHDIR) -DCMAKE_BUILD_TYPE=Release -DPELLIX_BUILD_TESTS=OFF -DPELLIX_BUILD_BENCH=ON
	cmake --build $(BENCHDIR) -j $(JOBS)
	sh bench/clicklatency.sh $(BENCHDIR)

fuzz: deps
	sh scripts/install-deps.sh --fuzz
	cmake -S . -B $(FUZZDIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DPELLIX_BUILD_FUZZ=ON -DPELLIX_SANITIZE=ON -DPELLIX_BUILD_TESTS=OFF
	cmake --build $(FUZZDIR) -j $(JOBS)
	for t in $(FUZZDIR)/fuzz/fuzz_*; do \
	    name=$$(basename $$t); mkdir -p $(FUZZDIR)/corpus/$$name; \
	    $$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        $(FUZZDIR)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

format: deps
	$(SOURCES) | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN) $(BENCHDIR) $(WINBUILD)
