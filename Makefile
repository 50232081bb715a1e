# The commands a newcomer types. Each installs the missing Debian packages
# it needs first, and only those.
#   make run    build Sumwise and start it under Wine
#   make test   build both trees and run every test
#   make test-debian13  make test again, inside a Debian 13 root (scripts/debian13)
#   make bench  benchmarks against peers measured in the same run
#   make fuzz   fuzzes the MD5 engine (FUZZ_SECONDS=60)
#   make dist   the release zip, a copy of the program and SHA256SUMS in build/dist
#   make clean  stops the private Xvfb and Wine, and removes build/

.PHONY: all run test test-debian13 bench fuzz dist clean

# Every core for building and testing; no "Entering directory" line from the
# makes that cmake --build runs.
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(shell nproc)
export CTEST_PARALLEL_LEVEL ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

# Configure output is shown from warnings up: a package the tests need that
# is missing stops the configure with its reason. Each command says which
# parts the trees build, so none needs what an earlier command installed.
CONFIGURE = cmake --log-level=WARNING --preset
PROGRAM = -DSUMWISE_BUILD_TESTS=OFF -DSUMWISE_BUILD_BENCH=OFF
TESTS = -DSUMWISE_BUILD_TESTS=ON -DSUMWISE_BUILD_BENCH=OFF
BENCH = -DSUMWISE_BUILD_TESTS=OFF -DSUMWISE_BUILD_BENCH=ON

# Only the program itself, and the probe make run reads its status line
# with: a newcomer waits for no test build and installs no test packages.
all:
	@scripts/install-deps run
	@$(CONFIGURE) windows $(PROGRAM)
	@cmake --build --preset windows --target sumwise text_probe

run: all
	@scripts/run

# The private Xvfb and wineservers are stopped afterwards: pass, fail or
# Ctrl-C (scripts/with-wine).
test:
	@scripts/install-deps test
	@$(CONFIGURE) native $(TESTS)
	@cmake --build --preset native
	@ctest --preset native
	@$(CONFIGURE) windows $(TESTS)
	@cmake --build --preset windows
	@scripts/with-wine ctest --preset windows

# The same tests on Debian 13, in a minimal root made from Debian's packages
# and kept outside the checkout (scripts/debian13).
test-debian13:
	@scripts/debian13 make test

# The engine natively and under Wine, the hash command on a 1 GiB file and
# its memory on a 4 GiB one (bench/run.sh).
bench:
	@scripts/install-deps bench
	@$(CONFIGURE) native $(BENCH)
	@cmake --build --preset native
	@$(CONFIGURE) windows $(BENCH)
	@cmake --build --preset windows
	@scripts/with-wine bench/run.sh

# The MD5 fuzzer for FUZZ_SECONDS (default 60), growing the native tree's
# corpus; a crash input is left in build/native/tests/fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_DIR = build/native/tests/fuzz
fuzz:
	@scripts/install-deps fuzz
	@$(CONFIGURE) native $(TESTS)
	@cmake --build --preset native --target md5_fuzz
	@mkdir -p $(FUZZ_DIR)/corpus
	@$(FUZZ_DIR)/md5_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus

# The release, reproducible: entries dated SOURCE_DATE_EPOCH, by default the
# last commit's date (dist/pack.py).
dist:
	@scripts/install-deps dist
	@$(CONFIGURE) windows $(PROGRAM)
	@cmake --build --preset windows --target dist

clean:
	@scripts/wine-stop
	rm -rf build
