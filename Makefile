# The two commands: `make run` opens the program, `make test` runs the whole suite.
# Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz package format format-check clean

all: build

deps:
	@tools/install_deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@tools/run.sh $(BUILD)/Settings

test: build
	@tools/check_format.sh
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) --timeout 900

bench: build
	@tools/run_bench.sh $(BUILD)

fuzz: build
	@for t in $(BUILD)/tests/fuzz/targets/*_fuzz; do \
	  name=$$(basename $$t); corpus=$${name%_fuzz}; \
	  mkdir -p $(BUILD)/tests/fuzz/corpus/$$corpus; \
	  $$t -max_total_time=$${FUZZ_SECONDS:-600} $(BUILD)/tests/fuzz/corpus/$$corpus tests/fuzz/corpus/$$corpus; \
	done

package: build
	@cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@tools/check_format.sh

clean:
	@rm -rf $(BUILD)
