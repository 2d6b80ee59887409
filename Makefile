# make test: install what is missing, build everything, run every test, print one summary.
# make check: build natively and run the native tests: the quick check of everyday work.
# make web:  build the web page (build/web/page/zq70web.html) and serve it on localhost.
# make run:  install what is missing, build, start the program under Wine with a simulated
#            ZQ70 on COM1 (with no display: under Xvfb, saving a screenshot).
.PHONY: test check run build native mingw web-core web web-page web-speed fuzz fuzz-import \
	fuzz-device fuzz-broken fuzz-build screenshots dist clean

test:
	@scripts/test

check: native
	@ctest --preset native -j2 --timeout 300

run:
	@scripts/install-deps
	@$(MAKE) --no-print-directory build
	@scripts/run

build: native mingw

native:
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j2

mingw:
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw -j2

# The core of the web page in WebAssembly: build/web/web/zq70core.js.
web-core:
	@cmake --preset web >/dev/null
	@cmake --build --preset web -j2

# The web page, one file: build/web/page/zq70web.html; `make web` also serves it on a
# localhost port that it prints (PORT=8080 make web for a fixed one).
web-page:
	@scripts/web-page

# The page's own cost of a transfer (figures, not a test): the in-page simulated device
# visible and minimised, and zq70sim through the test bridge.
web-speed: web-page native
	@cd web && npx tsc -p tests && node .test-build/tests/speed.js

web: web-page
	@node scripts/web-serve.mjs build/web/page

fuzz: fuzz-build
	@mkdir -p build/fuzz/corpus
	@build/fuzz/tests/fuzz/fuzz_decode -max_total_time=$${FUZZ_SECONDS:-600} build/fuzz/corpus tests/fuzz/corpus

fuzz-import: fuzz-build
	@mkdir -p build/fuzz/import_corpus
	@build/fuzz/tests/fuzz/fuzz_import -max_total_time=$${FUZZ_SECONDS:-600} build/fuzz/import_corpus tests/fuzz/import_corpus

# The serial read and write and the keyboard-line read and write against a device that the
# fuzzer plays, one after the other, ten minutes each.
DEVICE_FUZZ_TARGETS := serial_read serial_write keyboard_read keyboard_write
fuzz-device: fuzz-build
	@for t in $(DEVICE_FUZZ_TARGETS); do \
	  echo "== fuzz_$$t"; mkdir -p build/fuzz/$${t}_corpus; \
	  build/fuzz/tests/fuzz/fuzz_$$t -max_total_time=$${FUZZ_SECONDS:-600} -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/ build/fuzz/$${t}_corpus tests/fuzz/$${t}_corpus || exit 1; \
	done

# Each device target against deliberately broken copies of the protocols (tests/fuzz/broken).
fuzz-broken:
	@tests/fuzz/broken/catch-broken

fuzz-build:
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j2 --target fuzz_decode fuzz_import fuzz_device

screenshots: build
	@scripts/screenshots

# Every artefact of a release in dist/ (scripts/dist), from clean build folders build/dist-*.
dist:
	@scripts/install-deps
	@scripts/dist

clean:
	rm -rf build run dist
