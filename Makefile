# Thin wrapper over the CMake presets, so that two commands do everything on a fresh Debian 12 machine.
PRESET ?= $(if $(CI),ci,dev)
FUZZ_SECONDS ?= 30
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-asan bench fuzz format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	./build/$(PRESET)/app/lexomir

test: build
	ctest --preset $(PRESET) -j $(JOBS)

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench:
	@$(MAKE) --no-print-directory build PRESET=dev
	bash bench/run-all.sh build/dev

fuzz: deps
	@cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	bash fuzz/run-all.sh build/fuzz $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
