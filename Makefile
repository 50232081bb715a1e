# The commands a newcomer types. Each installs the missing Debian packages first.
#   make run    build Sumwise and start it under Wine
#   make test   build both trees and run every test
#   make bench  benchmarks against peers measured in the same run
#   make fuzz   fuzzes the MD5 engine (FUZZ_SECONDS=60)
#   make dist   the release zip, a copy of the program and SHA256SUMS in build/dist

.PHONY: all deps configure build build-native build-windows test test-native test-windows bench fuzz run dist clean

all: build

deps:
	@scripts/install-deps

# The trees build the product only, unless a goal needs its tests or
# benchmarks; a tree that has them once keeps them (CMake's cache).
test test-native test-windows fuzz: TREE_OPTIONS = -DSUMWISE_BUILD_TESTS=ON
bench: TREE_OPTIONS = -DSUMWISE_BUILD_BENCH=ON

configure: deps
	@cmake --preset native $(TREE_OPTIONS) >/dev/null
	@cmake --preset windows $(TREE_OPTIONS) >/dev/null

build-native: deps
	@cmake --preset native $(TREE_OPTIONS) >/dev/null
	@cmake --build --preset native

build-windows: deps
	@cmake --preset windows $(TREE_OPTIONS) >/dev/null
	@cmake --build --preset windows

build: build-native build-windows

test-native: build-native
	@ctest --preset native

# The private Xvfb and wineserver are stopped afterwards, pass or fail.
test-windows: build-windows
	@status=0; ctest --preset windows || status=$$?; \
	 SUMWISE_WINE_UNMANAGED=1 scripts/wine-stop; scripts/wine-stop; exit $$status

test: test-native test-windows

# The engine natively and under Wine, the hash command on a 1 GiB file and
# its memory on a 4 GiB one (bench/run.sh); Wine and Xvfb are stopped after.
bench: build-native build-windows
	@bench/run.sh

# The MD5 fuzzer for FUZZ_SECONDS (default 60), growing the native tree's
# corpus; a crash input is left in build/native/tests/fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_DIR = build/native/tests/fuzz
fuzz: build-native
	@test -x $(FUZZ_DIR)/md5_fuzz || { echo "md5_fuzz was not built: it needs clang++ and libclang-rt-dev"; exit 1; }
	@mkdir -p $(FUZZ_DIR)/corpus
	@$(FUZZ_DIR)/md5_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus

# Only the program itself: a newcomer waits for no test build.
run: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target sumwise
	@scripts/run

# The release, reproducible: entries dated SOURCE_DATE_EPOCH, by default the
# last commit's date (dist/pack.py).
dist: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target dist

clean:
	rm -rf build
