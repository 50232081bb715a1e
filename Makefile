# The commands a newcomer types. Each installs the missing Debian packages first.
#   make run    build Sumwise and start it under Wine
#   make test   build both trees and run every test
#   make bench  benchmarks against peers measured in the same run

.PHONY: all deps configure build build-native build-windows test test-native test-windows bench fuzz run clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset native >/dev/null
	@cmake --preset windows >/dev/null

build-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build-windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

build: build-native build-windows

test-native: build-native
	@ctest --preset native

# The private Xvfb and wineserver are stopped afterwards, pass or fail.
test-windows: build-windows
	@status=0; ctest --preset windows || status=$$?; scripts/wine-stop; exit $$status

test: test-native test-windows

bench: build-native
	@build/native/bench/md5_bench

run: build-windows
	@scripts/run

clean:
	rm -rf build
