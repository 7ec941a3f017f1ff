# make run        build and run the demo on a fresh machine
# make test       build and run every test
# make test-asan  the same under AddressSanitizer and UndefinedBehaviorSanitizer
# make bench      build and run the benchmarks
.PHONY: all build build-asan run test test-asan bench clean

JOBS ?= $(shell nproc)

all: build

build:
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan:
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

run: build
	rm -rf out/demo && mkdir -p out/demo
	cp -r build/default/OrvaneMedia out/demo/OrvaneMedia
	rm -f out/demo/OrvaneMedia/ZRQData.dat out/demo/OrvaneMedia/ZRQChannels.chl out/demo/OrvaneMedia/schedulefile.she
	ORVANE_MACHINE=$(CURDIR)/out/demo/machine ORVANE_ROBOT=$(CURDIR)/tools/demo/orvane_media.robot \
	  ORVANE_SCREENSHOT_DIR=$(CURDIR)/out/demo \
	  "out/demo/OrvaneMedia/Orvane Media"
	@echo "Files the program left in its folder:"
	@ls -l out/demo/OrvaneMedia/ZRQData.dat out/demo/OrvaneMedia/ZRQChannels.chl
	@echo "Picture of the screen: out/demo/launcher.png"

test: build
	ctest --preset default

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan

# Medians of several rounds, as the targets are stated.
BENCH_FLAGS ?= --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

bench: build
	@for b in build/default/bench/bench_*; do [ -x "$$b" ] && "$$b" $(BENCH_FLAGS); done; true

clean:
	rm -rf build out
