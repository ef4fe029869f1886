# SPDX-License-Identifier: GPL-3.0-or-later
# Pelmora: `make run` builds and starts the editor, `make test` builds and runs every test,
# `make package` builds the Debian package.
SHELL := /bin/bash
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
APPDIR = $(abspath $(BUILD))/appdir
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

SANITIZE_BUILD ?= build-asan
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$(abspath scripts/lsan-suppressions.txt)

FUZZ_BUILD ?= build-fuzz
FUZZ_TARGETS = archive_fuzz dib_fuzz catalog_fuzz bmpfile_fuzz import_fuzz cardlist_fuzz extras_fuzz
FUZZ_SECONDS ?= 5

.PHONY: all run test package test-sanitize deps deps-test deps-package configure build clean fuzz-smoke

all: build

deps:
	@bash scripts/install-deps.sh run

deps-test:
	@bash scripts/install-deps.sh test

deps-package:
	@bash scripts/install-deps.sh package

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

# build/pelmora_<version>_<arch>.deb from the programs and the data folder, with
# the dependencies dpkg-shlibdeps finds.
package: deps-package configure
	cmake --build $(BUILD) --target pelmora pmrtool desktop_files --parallel $(JOBS)
	cd $(BUILD) && cpack

# The test programs built with gcc, AddressSanitizer and UndefinedBehaviorSanitizer
# in their own folder, and run; any report fails the run.
test-sanitize: deps-test
	cmake -S . -B $(SANITIZE_BUILD) -G "$(GENERATOR)" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPELMORA_BENCH=OFF "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE_FLAGS)" >/dev/null
	cmake --build $(SANITIZE_BUILD) --target pelmora_tests --parallel $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure --timeout 1800

# Builds the fuzz targets and pmrtool (so the tree keeps building with clang)
# with clang and the sanitizers, and runs each fuzz target briefly on
# its seed corpus (copied, so the seeds stay as they are), with its dictionary
# fuzz/NAME.dict when there is one.
fuzz-smoke:
	@bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -G "$(GENERATOR)" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPELMORA_FUZZ=ON -DPELMORA_TESTS=OFF -DPELMORA_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_BUILD) --target $(FUZZ_TARGETS) pmrtool --parallel $(JOBS)
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
