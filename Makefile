# make demo   installs what is missing, builds, runs the viewer on the bundled example
# make test   installs what is missing, builds, runs every test
BUILD ?= build
JOBS  ?= 2

.PHONY: all deps configure build test demo bench test-sanitize fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	@bash scripts/demo.sh $(BUILD)

bench: build
	@bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
