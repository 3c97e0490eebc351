# The two commands of the README: `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
BUILD_BENCH ?= build-bench
CMAKE_GEN  := -G Ninja
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= params language project engine cli json prices report summary export

CONFIGURE  := cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps deps-build deps-test build test test-plain test-asan run run-dir package fuzz bench clean

all: build

# scripts/install-deps knows three sets: run, build and test.
deps: deps-test

deps-build:
	@scripts/install-deps run build

deps-test:
	@scripts/install-deps run build test

build: deps-build
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-asan

# The plain run also builds the Debian package and checks it (the tests labelled "package").
test-plain: deps-test
	$(CONFIGURE) -DTABLIX_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps-test
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTABLIX_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# run/ holds the working directory of the program: the parameter file, the language files and
# the example project. Files a user has edited there are kept.
run-dir: build
	mkdir -p run
	[ -f run/Tablix_pro.dan ] || $(BUILD)/tablix-cli --workdir run params load data/params.json
	[ -f run/shop-front.tab ] || $(BUILD)/tablix-cli project load data/examples/shop-front.json -o run/shop-front.tab
	for f in data/tablix_lng.*; do [ -f run/$$(basename $$f) ] || cp $$f run/; done

run: run-dir
	cd run && ../$(BUILD)/tablix

# The Debian package, tablix_VERSION_ARCH.deb, in this folder: `sudo apt install ./tablix_*.deb`.
package: build
	rm -f $(BUILD)/tablix_*.deb
	cmake --build $(BUILD) --target package
	rm -f tablix_*.deb
	cp $(BUILD)/tablix_*.deb .

# Coverage-guided fuzzing with clang's libFuzzer; `make test` only replays the corpus.
fuzz: deps-test
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLIX_FUZZ=ON -DTABLIX_TESTS=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD_FUZZ)/corpus-$$t; \
	  $(BUILD_FUZZ)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=3 \
	    $(BUILD_FUZZ)/corpus-$$t fuzz/corpus/$$t || exit 1; \
	done

# Its own build folder, so that build/'s cache stays as `make test` left it.
bench: deps-test
	cmake -S . -B $(BUILD_BENCH) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLIX_BENCH=ON -DTABLIX_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	for b in $(BUILD_BENCH)/bench/bench_*; do if [ -f $$b ] && [ -x $$b ]; then $$b || exit 1; fi; done

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_BENCH) tablix_*.deb
