# Korvane: `make run` starts the program, `make test` runs every test. Both install what
# they need first (scripts/install-deps.sh) and build both trees.

JOBS ?= 2
NATIVE := build/native
WIN := build/win
SANITIZE := build/sanitize
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
WEB := build/web
# Debian's emscripten finds its optimiser's JavaScript parser (acorn) here.
EMENV := NODE_PATH=/usr/share/nodejs

.PHONY: all deps build native win sanitize test test-native test-win test-dist test-sanitize run bench fuzz dist clean web web-dist test-web

all: build

deps:
	@scripts/install-deps.sh

build: deps native win
	@mkdir -p bin
	cp $(NATIVE)/korvane-make bin/korvane-make
	cp $(WIN)/korvane-make.exe bin/korvane-make.exe
	cp $(WIN)/korvane.exe bin/korvane.exe

native:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win:
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN) -j $(JOBS)

sanitize:
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BENCH=OFF >/dev/null
	cmake --build $(SANITIZE) -j $(JOBS)

test: build sanitize web-dist
	$(MAKE) --no-print-directory test-native test-win test-dist test-sanitize test-web

test-native:
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

# The same core suite, compiled by MinGW, under Wine: the Windows build behaves the same.
# The virtual screen is 1280 x 1024, as scripts/check-dist.sh has it too.
test-win:
	@KORVANE_WINE_TESTS=1 scripts/run-under-wine.sh cmd /c exit >/dev/null 2>&1 || \
		echo "test-win: preparing the Wine prefix failed; the tests below say more" >&2
	KORVANE_WINE_TESTS=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
		ctest --test-dir $(WIN) --output-on-failure --timeout 600

# The Windows release, unpacked into an empty folder and run there under Wine.
test-dist: dist
	scripts/check-dist.sh

test-sanitize:
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

# The desktop program, under Wine on Linux, from the repository root (its templates folder
# and korvane.ini are found here). Without a display there is the command line instead.
run: build
	@if [ -n "$$DISPLAY" ]; then \
		scripts/run-under-wine.sh bin/korvane.exe; \
	else \
		echo "No display here, so Korvane's window cannot open (set DISPLAY, or run it on"; \
		echo "Windows). The command line makes skins without one:"; \
		echo "  bin/korvane-make resources/sample.bmp out/sample-skin --wsz out/sample-skin.wsz"; \
		bin/korvane-make resources/sample.bmp out/sample-skin --wsz out/sample-skin.wsz; \
		echo "Made out/sample-skin/ and out/sample-skin.wsz; bin/korvane-make --help lists every option."; \
	fi

# Korvane in the browser: the core compiled to WebAssembly, the page, Webamp and the
# templates in web/dist/, served on 127.0.0.1 (PORT=8014 by default).
web: web-dist
	node web/serve.mjs web/dist $${PORT:-8014}

web-dist: deps
	@[ -d web/node_modules/webamp ] && [ web/node_modules/.package-lock.json -nt web/package-lock.json ] || \
		(cd web && npm ci --no-audit --no-fund --loglevel=error)
	$(EMENV) emcmake cmake -S . -B $(WEB) -DCMAKE_BUILD_TYPE=Release >/dev/null
	$(EMENV) cmake --build $(WEB) -j $(JOBS)
	node web/assemble.mjs $(WEB)/web web/dist

# The page in headless Chromium: open, options, Webamp, a mouse drag, the download.
test-web: native
	node web/test/browser.test.mjs

bench: deps native
	$(NATIVE)/bench/korvane_bench
	bench/cli-vs-imagemagick.sh

# libFuzzer over the BMP reader and the picture checks; new finds go into the corpus.
fuzz: deps
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_FUZZ=ON >/dev/null
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_bmp
	$(FUZZ)/tests/fuzz_bmp -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -rss_limit_mb=512 tests/fuzz/corpus

# The Windows release: both programs, the templates, the sample picture and the user guide,
# in one folder inside dist/korvane-win64.zip. scripts/check-dist.sh runs it under Wine.
dist: build
	rm -rf build/dist dist/korvane-win64.zip
	mkdir -p build/dist/korvane dist
	cp bin/korvane.exe bin/korvane-make.exe resources/sample.bmp build/dist/korvane/
	cp -r templates build/dist/korvane/
	sed 's/$$/\r/' docs/user-guide.txt > build/dist/korvane/USER-GUIDE.txt
	cd build/dist && zip -qr -X ../../dist/korvane-win64.zip korvane
	@echo "dist/korvane-win64.zip"

clean:
	rm -rf build bin out web/dist
