# make run   installs what is missing, builds, and converts the bundled sample
# make test  installs what is missing, builds, and runs every test
# make bench prints every step as a ratio to the codec floor
# make test-sanitize  the same tests built with ASan and UBSan (in build-sanitize)
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all setup build run test test-sanitize bench clean
SANITIZE_BUILD_DIR ?= build-sanitize

all: build

setup:
	bash scripts/setup

build: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR)

run: build
	bash scripts/run-sample $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j 2

# Every target built with AddressSanitizer and UndefinedBehaviorSanitizer
# (-O1 keeps the tests quick, -g1 the build: line tables for the reports);
# the first finding fails the test.
test-sanitize: setup
	cmake -S . -B $(SANITIZE_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
	  -DKORVANEL_SANITIZE=ON -DKORVANEL_BUILD_BENCHMARKS=OFF
	cmake --build $(SANITIZE_BUILD_DIR)
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:check_initialization_order=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure -j 2

# make install [PREFIX=/usr/local] [DESTDIR=...]  installs the programs, the help,
# the man pages, the desktop entry, the icons and the bash completion
PREFIX ?= /usr/local
.PHONY: install
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build
	$(BUILD_DIR)/bench/korvanel_ratio_bench

clean:
	rm -rf $(BUILD_DIR)
