# Thin wrapper over CMake so that one command installs, builds and tests.
BUILD ?= build
JOBS ?= $(shell nproc)

DEBIAN_PACKAGES = build-essential cmake pkg-config unixodbc unixodbc-dev libsqliteodbc tdsodbc \
                  nlohmann-json3-dev libsimdjson-dev libcli11-dev libgtest-dev libgmock-dev \
                  libwxgtk3.2-dev xvfb xauth clang libclang-rt-14-dev socat \
                  dpkg-dev file lintian man-db bash-completion gettext locales freetds-bin time

.PHONY: all deps build test test-live check builds test-tsan test-asan test-fuzz deb test-deb bench clean

all: build

# As root: the Debian packages, and the Russian locale that the tests of the host's messages run under.
deps:
	@if [ "$$(id -u)" = 0 ] && command -v apt-get >/dev/null; then \
	    missing=$$(for p in $(DEBIAN_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	    if [ -n "$$missing" ]; then \
	        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	    fi; \
	    locale -a | grep -qx ru_RU.utf8 || localedef -i ru_RU -f UTF-8 ru_RU.UTF-8; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIPTS_WARNINGS_AS_ERRORS=ON
	cmake --build $(BUILD) -j $(JOBS)

# The suite in the project's build: minutes once the packages are in. The live tests (label live) run when
# SQLSCRIPTS_TEST_CONNECT names a server.
test: build
	@[ -n "$$SQLSCRIPTS_TEST_CONNECT" ] || \
	    echo "live-server tests skipped: SQLSCRIPTS_TEST_CONNECT is not set (make check starts the test server)"
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(if $(SQLSCRIPTS_TEST_CONNECT),,-LE live)

# Everything CI runs: the suite with the live tests against the local test server, the sanitizers (the
# AddressSanitizer build is clang's, and its fuzz targets the fuzzers), the fuzzers and the Debian packages.
# `make builds` (Release with clang) is left to hand: clang's warnings are errors in the sanitizer build too.
check: test-live test-tsan test-asan test-fuzz test-deb

# make test with the local T-SQL test server up, when its scripts are beside the repository (../shared) or
# in SQLSCRIPTS_TESTSERVER; a server started for it is stopped afterwards, also when a test fails.
test-live: deps
	tests/live/with-server $(MAKE) test

# Release with clang, warnings as errors; the suite runs once more there, where another compiler's optimiser
# may show what GCC's does not. GCC's optimised build is the project's own (RelWithDebInfo, make test), its
# Debug build the ThreadSanitizer one, and clang's Debug build the AddressSanitizer one with the fuzzers.
BUILD_PRESETS = clang-release
builds: deps
	for p in $(BUILD_PRESETS); do \
	    cmake --preset $$p >/dev/null && cmake --build build-$$p -j $(JOBS) || exit 1; \
	done
	cd build-clang-release && ctest --output-on-failure -j $(JOBS)

# The tests that run threads, once more under ThreadSanitizer (the --recreate cases read on three connections,
# apply loads rows on several).
THREAD_TESTS = Parallel|Pool|Thread|recreate|ScriptApply|diff
test-tsan: deps
	cmake --preset tsan
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -j $(JOBS) -R '$(THREAD_TESTS)'

# The Debian packages, into build-deb/: a build for /usr with Debian's compiler and linker flags (hardening
# included; CMake reads no CPPFLAGS, so they go with CXXFLAGS), packed by CPack.
deb: deps
	export CXXFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) \
	                 $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)" \
	       LDFLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" && \
	cmake --fresh -S . -B build-deb -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
	    -DSCRIPTS_WARNINGS_AS_ERRORS=ON -DSCRIPTS_BUILD_TESTS=OFF
	cmake --build build-deb -j $(JOBS)
	rm -f build-deb/*.deb
	cd build-deb && cpack -G DEB

# The packages as a user gets them: lintian, installed (root), used, purged again (tests/package/check).
test-deb: deb
	tests/package/check build-deb

# Export benchmarks on synthetic catalog snapshots (bench/run); never part of the tests.
bench: deps
	bench/run

# The whole suite once more under AddressSanitizer (with its leak check) and UndefinedBehaviorSanitizer, in
# clang's build, which also holds the fuzz targets (built with libFuzzer's coverage, which the tests ignore);
# any report fails the run.
test-asan: deps
	cmake --preset asan
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
	    ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target of the AddressSanitizer build for FUZZ_SECONDS from the seed corpus in
# tests/fuzz/corpus (and its dictionary, if it has one), JOBS of them at a time. A finding fails the run and
# leaves its input in build-asan/fuzz/.
FUZZERS = StripSqlComments SnapshotLoad FormatSqlType ExtractFileName DdlText DataLiteral BatchSplitter
FUZZ_SECONDS ?= 60
test-fuzz: deps
	cmake --preset asan
	cmake --build build-asan -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	printf '%s\n' $(FUZZERS) | xargs -P $(JOBS) -I{} sh -c '\
	    mkdir -p build-asan/fuzz/corpus/{} && \
	    dict=$$( [ -f tests/fuzz/{}.dict ] && echo -dict=tests/fuzz/{}.dict ); \
	    exec build-asan/tests/fuzz/fuzz_{} -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$dict \
	        -artifact_prefix=build-asan/fuzz/{}- build-asan/fuzz/corpus/{} tests/fuzz/corpus/{}'

clean:
	rm -rf $(BUILD) build-*
