# Pelmora: `make run` builds and starts the editor, `make test` builds and runs every test.
SHELL := /bin/bash
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
APPDIR = $(abspath $(BUILD))/appdir
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_BUILD ?= build-fuzz
FUZZ_TARGETS = archive_fuzz dib_fuzz catalog_fuzz bmpfile_fuzz import_fuzz
FUZZ_SECONDS ?= 5

.PHONY: all run test deps deps-test configure build clean fuzz-smoke

all: build

deps:
	@bash scripts/install-deps.sh run

deps-test:
	@bash scripts/install-deps.sh test

configure:
	@if [ -f $(BUILD)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD) >/dev/null; \
	else \
	  cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi

build: configure
	cmake --build $(BUILD) --parallel $(JOBS)

run: deps
	@$(MAKE) --no-print-directory build
	NURELPAD_APPDIR="$(APPDIR)" $(BUILD)/src/pelmora $(ARGS)

test: deps-test
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900

# Builds the fuzz targets with clang and the sanitizers and runs each briefly on
# its seed corpus (copied, so the seeds stay as they are), with its dictionary
# fuzz/NAME.dict when there is one.
fuzz-smoke:
	@bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -G "$(GENERATOR)" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPELMORA_FUZZ=ON -DPELMORA_TESTS=OFF -DPELMORA_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_BUILD) --target $(FUZZ_TARGETS) --parallel $(JOBS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  name=$${t%_fuzz}; rm -rf $(FUZZ_BUILD)/corpus-$$name; cp -r fuzz/corpus/$$name $(FUZZ_BUILD)/corpus-$$name; \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	  dict=; [ -f fuzz/$$name.dict ] && dict=-dict=fuzz/$$name.dict; \
	  QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	    -print_final_stats=1 $$dict $(FUZZ_BUILD)/corpus-$$name 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' ; \
	  test $${PIPESTATUS[0]} -eq 0; \
	done

clean:
	rm -rf $(BUILD)
