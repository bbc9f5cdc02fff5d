# The two commands a newcomer needs:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs every test
# (normal build, then a sanitizer build, then a short run of each fuzzer).
.PHONY: run test build bench tidy clean

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

# clang-tidy with the project's .clang-tidy over every source of ours; not part of
# make test, which must stay quick.
tidy:
	scripts/install-deps
	cmake -S . -B build-tidy -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DQEL_BENCH=OFF
	cmake --build build-tidy -j $(JOBS)
	run-clang-tidy -quiet -p build-tidy -j $(JOBS) -header-filter='src/' '$(CURDIR)/src/'

clean:
	rm -rf build build-asan build-fuzz build-tidy
