# make run        build and run the demo on a fresh machine
# make run-plan   the same for the record plan demo, with the scheduler
# make test       build and run every test
# make test-asan  the same under AddressSanitizer and UndefinedBehaviorSanitizer
# make bench      build and run the benchmarks
# make test-tsan  the tests of threads and processes under ThreadSanitizer
# make fuzz       every fuzz target for FUZZ_SECONDS each, all at once
# Each first installs the packages that are missing (.ci/setup).
.PHONY: all setup build build-asan build-tsan build-fuzz demo-machine run run-plan test test-asan test-tsan fuzz bench \
	clean

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# Given to every configure (.ci/run gives -DORVANE_QUICK_BUILD=ON).
CONFIGURE_FLAGS ?=
# Graphs, the fan-out filter, clip playing and editing, the channel scan, threads and
# messages between processes, the base classes' streaming, hand-offs and connecting, the
# editing sources' read-ahead, the capture device's formats and file playback, and the
# streaming threads on the machine clock. The first finding ends a test; the suppressions
# are only of libraries we call.
TSAN_LABELS = graphs|fanout|editing
TSAN_TESTS = ^(ControllerScan|CrossProcess|SecondInstance|SyncProcess|Thread|MessageQueue|OutputQueue|WakeSignal|PictureReadAhead|Streaming|FilterGraph|PinConnection|CaptureDevice|FilePlayback|StreamActivity|HandOffSettle|HandOffChain|ClockWait)
TSAN_RUN_OPTIONS = halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan-suppressions.txt

all: build

setup:
	@.ci/setup

build: setup
	cmake --preset default $(CONFIGURE_FLAGS)
	cmake --build --preset default -j $(JOBS)

build-asan: setup
	cmake --preset asan $(CONFIGURE_FLAGS)
	cmake --build --preset asan -j $(JOBS)

# A fresh demo machine in out/demo with the program folder as the installer leaves it.
demo-machine: build
	rm -rf out/demo && mkdir -p out/demo
	cp -r build/default/OrvaneMedia out/demo/OrvaneMedia
	rm -f out/demo/OrvaneMedia/ZRQData.dat out/demo/OrvaneMedia/ZRQChannels.chl out/demo/OrvaneMedia/schedulefile.she
	mkdir -p out/demo/machine && cp tools/demo/machine.ini out/demo/machine/machine.ini
	@# As the installer does: the fan-out filter the recordings need is registered.
	ORVANE_MACHINE=$(CURDIR)/out/demo/machine build/default/bin/regsvr32 \
	  "Z:$(subst /,\\,$(CURDIR))\\out\\demo\\OrvaneMedia\\Filter\\Branchel.ax"

run: demo-machine
	ORVANE_MACHINE=$(CURDIR)/out/demo/machine ORVANE_ROBOT=$(CURDIR)/tools/demo/orvane_media.robot \
	  ORVANE_SCREENSHOT_DIR=$(CURDIR)/out/demo \
	  "out/demo/OrvaneMedia/Orvane Media"
	@echo "The recording, as ffprobe reads it:"
	@ffprobe -v error -show_entries format=format_name,duration:stream=codec_type,codec_name \
	  -of compact out/demo/OrvaneMedia/Videos/cap00.mpg
	@echo "The snapshot, as ffprobe reads it:"
	@ffprobe -v error -show_entries stream=codec_name,width,height -of compact out/demo/OrvaneMedia/Picture/cap00.bmp
	@echo "Screenshots: out/demo/*.png"
	@echo "Files the program left in its folder: out/demo/OrvaneMedia (ZRQData.dat, ZRQChannels.chl,"
	@echo "  Videos/cap00.mpg, Picture/cap00.bmp, histroyMedia.lis, histroyPicture.lis)"
	@echo "The machine's power and event logs: out/demo/machine/power.log, out/demo/machine/events.log"

# The record plan road in two scripts: "Orvane Media" plans an entry, then the scheduler
# stands the PC by, is woken for the entry and has it recorded.
run-plan: demo-machine
	ORVANE_MACHINE=$(CURDIR)/out/demo/machine ORVANE_ROBOT=$(CURDIR)/tools/demo/record_plan.robot \
	  ORVANE_SCREENSHOT_DIR=$(CURDIR)/out/demo \
	  "out/demo/OrvaneMedia/Orvane Media"
	ORVANE_MACHINE=$(CURDIR)/out/demo/machine ORVANE_ROBOT=$(CURDIR)/tools/demo/record_plan_scheduler.robot \
	  ORVANE_SCREENSHOT_DIR=$(CURDIR)/out/demo \
	  out/demo/OrvaneMedia/Calvendor
	@echo "The planned recording, as ffprobe reads it:"
	@ffprobe -v error -show_entries format=format_name,duration:stream=codec_type,codec_name \
	  -of compact out/demo/OrvaneMedia/Videos/cap00.mpg
	@echo "Screenshots: out/demo/plan_entry_editor.png, out/demo/plan_list.png"
	@echo "The plan: out/demo/OrvaneMedia/schedulefile.she"
	@echo "The machine's power and event logs: out/demo/machine/power.log, out/demo/machine/events.log"

test: build
	ctest --preset default

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan

build-tsan: setup
	cmake --preset tsan $(CONFIGURE_FLAGS)
	cmake --build --preset tsan -j $(JOBS) --target test_graphs test_fanout test_clip_player test_edit_project test_core test_platform_user test_platform_win32 test_platform_dshow test_platform_machine

test-tsan: build-tsan
	TSAN_OPTIONS="$(TSAN_RUN_OPTIONS)" ctest --preset tsan -L '$(TSAN_LABELS)'
	TSAN_OPTIONS="$(TSAN_RUN_OPTIONS)" ctest --preset tsan -R '$(TSAN_TESTS)'

build-fuzz:
	@.ci/setup fuzz
	cmake --preset fuzz $(CONFIGURE_FLAGS)
	cmake --build --preset fuzz -j $(JOBS)

fuzz: build-fuzz
	fuzz/run $(FUZZ_SECONDS) $(JOBS)
# Medians of several rounds, as the targets are stated, and the best round beside them.
BENCH_FLAGS ?= --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Every program bench_* of the build, the anchors' tools installed first; fails, naming
# them, when any failed.
bench: build
	@.ci/setup bench
	@bench/run build/default/bench $(BENCH_FLAGS)

clean:
	rm -rf build out
