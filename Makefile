# The two commands: `make run` opens the program, `make test` runs the whole suite.
# Both install what is missing first. `make test` runs the suite twice: on the normal build,
# then on a clang build with AddressSanitizer and UndefinedBehaviorSanitizer (ASAN_BUILD),
# where any sanitizer report fails the test that caused it.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
# Rebuilds go faster through the compiler cache when there is one.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build run test bench fuzz package format format-check clean \
        sanitize-configure sanitize-build sanitize-test

all: build

deps:
	@tools/install_deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@tools/run.sh $(BUILD)/Settings

test: build
	@tools/check_format.sh
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) --timeout 900
	@$(MAKE) --no-print-directory sanitize-test

# The fuzz targets are sanitized builds of their own already, so this build leaves them out.
# -O1 with line tables only: reports keep file and line, and the build takes less time.
sanitize-configure: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DSETUP_SANITIZE=ON -DSETUP_FUZZ=OFF -DSETUP_BENCH=OFF \
	  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" $(LAUNCHER) >/dev/null

sanitize-build: sanitize-configure
	@cmake --build $(ASAN_BUILD) -j$(JOBS)

sanitize-test: sanitize-build
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS) --timeout 900

bench: build
	@tools/run_bench.sh $(BUILD)

# Each target runs FUZZ_SECONDS (default 600) over its committed corpus and a working corpus in
# the build folder; findings go to the build folder too. Any failing target fails the run.
fuzz: build
	@status=0; for t in $(BUILD)/tests/fuzz/targets/*_fuzz; do \
	  name=$$(basename $$t); corpus=$${name%_fuzz}; \
	  dict=; [ -f tests/fuzz/$$corpus.dict ] && dict=-dict=tests/fuzz/$$corpus.dict; \
	  mkdir -p $(BUILD)/tests/fuzz/corpus/$$corpus $(BUILD)/tests/fuzz/artifacts/$$name; \
	  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	    $$t -max_total_time=$${FUZZ_SECONDS:-600} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -artifact_prefix=$(BUILD)/tests/fuzz/artifacts/$$name/ $$dict \
	    $(BUILD)/tests/fuzz/corpus/$$corpus tests/fuzz/corpus/$$corpus || status=1; \
	done; exit $$status

package: build
	@cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@tools/check_format.sh

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD)
