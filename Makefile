# The two commands a newcomer needs:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs every test
# (normal build, then a sanitizer build, then a short run of each fuzzer).
.PHONY: run test build bench clean

JOBS ?= $(shell nproc)

build:
	scripts/install-deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEL_WERROR=ON
	cmake --build build -j $(JOBS)

run: build
	scripts/run-program

test:
	scripts/test-all

bench: build
	scripts/run-benchmarks

clean:
	rm -rf build build-asan build-fuzz
