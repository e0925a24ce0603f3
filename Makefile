# The two commands of the README: `make run` and `make test`. Everything else is CMake's.
JOBS ?= 2
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_FLAGS += -DARCAVIO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
CMAKE_FLAGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
BENCH_BUILD ?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps configure run test package bench fuzz fuzz-build fuzz-replay clean format

all: configure
	cmake --build $(BUILD) -j $(JOBS)

deps:
	@bash scripts/install-deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GENERATOR) $(CMAKE_FLAGS)

run: all
	cd $(BUILD)/demo && ../arcavio

test: all
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

# The Debian package arcavio_<version>_amd64.deb in $(BUILD), from the release-like build.
package: all
ifeq ($(SANITIZE),1)
	@echo "make package: a sanitizer build is not packaged; run make package without SANITIZE=1" >&2; exit 1
endif
	cmake --build $(BUILD) --target package

bench: deps
	@test -f $(BENCH_BUILD)/CMakeCache.txt || cmake -S . -B $(BENCH_BUILD) $(GENERATOR) \
		-DCMAKE_BUILD_TYPE=Release -DARCAVIO_BENCH=ON -DARCAVIO_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# The fuzz targets are built by clang in a build of their own: -O1, assertions on.
fuzz-build: deps
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
		-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DARCAVIO_FUZZ=ON -DARCAVIO_TESTS=OFF
	cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)

# Fuzzes every target for FUZZ_SECONDS seconds, one after the other.
fuzz: fuzz-build
	@bash scripts/fuzz.sh $(FUZZ_BUILD) run $(FUZZ_SECONDS)

# Runs every kept input once through the fuzz targets (what CI does).
fuzz-replay: fuzz-build
	@bash scripts/fuzz.sh $(FUZZ_BUILD) replay

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-sanitize build-release build-fuzz
