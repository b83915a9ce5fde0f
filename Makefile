# The two commands of the README: `make run` and `make test`.
# Everything else here is a convenience around CMake presets.
.PHONY: all deps build run test test-default test-asan fuzz bench package clean web serve-web test-web

SECONDS ?= 60
PORT ?= 8000

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	@scripts/run-demo

test: build
	@ctest --preset default
	@scripts/check-package build
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan
	@if command -v em++ >/dev/null; then $(MAKE) --no-print-directory test-web; fi

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@scripts/run-fuzzers $(SECONDS)

# pixmorph_<version>_amd64.deb in build/package/
package: build
	@cmake --build --preset default --target package

bench: build
	@bench/run

# The WebAssembly build (emscripten) in build-web/: the page's folder build-web/site/ and the
# command line under Node, build-web/pixmorph-cli.js.
web: deps
	@cmake --preset web >/dev/null
	@cmake --build --preset web

serve-web: web
	@scripts/serve-web $(PORT)

# The Node command line (and the page) against the native program, byte for byte.
test-web: build web
	@tests/web/run

clean:
	rm -rf build build-asan build-fuzz build-web
