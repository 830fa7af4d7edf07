# make demo      installs what is missing, builds, runs the viewer on the bundled example
# make test      installs what is missing, builds, runs every test
# make install   installs the programs, man pages and histogram library under PREFIX
# make package   builds the Debian package in the build directory
# make bench     runs the benchmarks; EARLIER=DIR also compares with the build of an earlier commit
BUILD  ?= build
JOBS   ?= 2
PREFIX ?= /usr/local

# Sub-makes (CMake's build) do not announce every directory they enter.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build test demo install package bench test-sanitize fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# CTest says only "Skipped"; the reasons follow its summary.
test: build
	@status=0; ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) || status=$$?; \
	 bash scripts/skipped-tests.sh $(BUILD); exit $$status

# The demo needs only the two programs.
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target plot_orvex_3dfields write_field_map
	@bash scripts/demo.sh $(BUILD)

# The prefix is configured too: what the build compiles in for finding installed files (the
# window module, for programs built against the library) is where they go.
install: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(abspath $(PREFIX)) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cmake --install $(BUILD)

package: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && cpack -G DEB

bench: build
	@bash scripts/install-deps.sh bench
	@bash bench/run.sh $(BUILD) $(EARLIER)

# make test-sanitize   the whole suite built with AddressSanitizer and UBSan, run by CTest
# make fuzz            every libFuzzer harness built with clang, each run FUZZ_SECONDS
FUZZ_SECONDS ?= 60
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp:print_suppressions=0

test-sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_SANITIZE=ON > /dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@status=0; $(SANITIZE_ENV) ctest --test-dir build-sanitize --output-on-failure -j $(JOBS) --timeout 1200 || status=$$?; \
	 bash scripts/skipped-tests.sh build-sanitize; exit $$status

fuzz: deps
	@cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
