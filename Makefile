# Front door: `make run` builds and runs setup, `make test` runs the test suite.
# Both install whatever is missing first.
BUILD := build
I686 := $(BUILD)/i686
X64 := $(BUILD)/x86_64

.PHONY: all deps build run test bench size clean
all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(I686) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(I686) -j2
	cmake -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	    -DSETUP_TESTS=ON -DSHIPPED_SETUP=$(abspath $(I686)/setup.exe) >/dev/null
	cmake --build $(X64) -j2

run: build
	scripts/run-setup.sh

test: build
	scripts/run-tests.sh

bench: build
	bench/run-bench.sh

size: build
	/usr/bin/python3 scripts/size_report.py $(I686)/setup.exe

clean:
	rm -rf $(BUILD)
