# make run   - install what is missing, build, start dezovur
# make test  - install what is missing, build, run every test
# make bench - the fee statement's benchmark and the five ratios of the programs against
#   cabextract, cat and rm -r (about 13 minutes, six of them waiting for the disk to settle)
# make bench-ratios - the five ratios alone
# make bench-extract - setup's cabinet extractor against cabextract (about 4 GB in /tmp)
# make bench-install - setup's installation run against cp -r (about 8 GB in /var/tmp)
# make bench-uninstall - zuninstall on 2,500 to 10,000 installed files against rm -r
#   BENCH_DIR=/dev/shm runs either on a tmpfs: the programs' own cost without the disk's
# make package - build/package/: setup, its data files and file1.cab, ready to run
# make fuzz  - build the fuzz targets with clang and run them for FUZZTIME seconds in all (60)
# SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.

JOBS      ?= $(shell nproc)
SANITIZE  ?= 0
ifeq ($(SANITIZE),1)
BUILD     ?= build-sanitize
CMAKEFLAGS += -DSANITIZE=ON
else
BUILD     ?= build
endif
FUZZBUILD ?= build-fuzz
FUZZTIME  ?= 60

.PHONY: all deps configure build run test bench bench-ratios bench-extract bench-install bench-uninstall package fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKEFLAGS) $(shell command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/fee/dezovur

# The package is built first: one test installs it into a fresh $WINROOT and removes it again.
test: build
	cmake --build $(BUILD) -j $(JOBS) --target package
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The five ratios (bench_ratios), printed last; it runs the fee statement's benchmark between
# its cases, on the disk it has let settle.
bench: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target fee_bench bench_ratios package
	LC_ALL=C $(BUILD)/bench/bench_ratios $(BUILD)/bench/fee_bench

bench-ratios: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target bench_ratios package
	LC_ALL=C $(BUILD)/bench/bench_ratios

bench-install: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target setup_bench
	LC_ALL=C $(BUILD)/bench/setup_bench

bench-uninstall: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target uninstall_bench
	LC_ALL=C $(BUILD)/bench/uninstall_bench

bench-extract: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target bench_extract
	$(BUILD)/bench/bench_extract

package: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target package

# FUZZTIME is shared between the targets (split evenly between the targets).
fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZBUILD) -DCMAKE_CXX_COMPILER=clang++ -DFUZZ=ON -DBUILD_TESTING=OFF $(shell command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(FUZZBUILD) -j $(JOBS) --target fuzz_all
	scripts/run-fuzzers $(FUZZBUILD)/fuzz $(FUZZTIME)

clean:
	rm -rf build build-sanitize $(FUZZBUILD)
