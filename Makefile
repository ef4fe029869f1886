# Pelmora: `make run` builds and starts the editor, `make test` builds and runs every test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
APPDIR = $(abspath $(BUILD))/appdir
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test deps deps-test configure build clean

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

clean:
	rm -rf $(BUILD)
