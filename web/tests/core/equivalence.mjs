// The module in WebAssembly gives exactly the native build's bytes and words: thousands of
// random configurations, images and slipped texts that the native make_web_cases wrote,
// through import, export, encode, decode, file loading and the reports.
//   node --test web/tests/core/equivalence.mjs   (after make native web-core)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import { loadCore, nativeProgram } from './core_support.mjs';

const kCount = Number(process.env.ZQ70_WEB_CASES || 3000);

const hex = (bytes) => Buffer.from(bytes).toString('hex');
const bytesOf = (text) => Uint8Array.from(Buffer.from(text, 'hex'));

function readCases() {
  const out = execFileSync(nativeProgram('tests/web/make_web_cases'), [String(kCount)], {
    maxBuffer: 1 << 30,
    encoding: 'utf8',
  });
  return out.trimEnd().split('\n').map((line) => JSON.parse(line));
}

// The reports of zq70cfg on one configuration, as the native build wrote them.
function assertWords(core, config, words, what) {
  assert.equal(core.listing(config), words.listing, what + ': listing');
  const defaults = new core.Configuration();
  assert.deepEqual(core.differences(defaults, config), words.differences, what + ': diff');
  defaults.delete();
  assert.deepEqual(core.checkConfiguration(config).map((f) => f.line), words.check, what + ': check');
  assert.equal(core.wiringSheet(config, 'case'), words.sheet, what + ': sheet');
}

// An import as the native build reported it: the image (and its words), or the error.
function assertImport(core, text, expected, what) {
  const result = core.importText(text);
  if (expected.error) {
    assert.deepEqual(result.error, expected.error, what);
    assert.equal(result.config, undefined, what);
    return;
  }
  assert.equal(result.error, undefined, what + ': ' + JSON.stringify(result.error));
  assert.equal(hex(result.bytes), expected.image, what + ': imported bytes');
  assert.equal(core.exportText(result.config), expected.export, what + ': export of the import');
  assert.equal(hex(core.encodeImage(result.config).bytes), expected.image, what + ': encode');
  if (expected.words) assertWords(core, result.config, expected.words, what);
  result.config.delete();
}

function assertEncoded(core, config, encoded, what) {
  const result = core.encodeImage(config);
  if (encoded.refusal) {
    assert.equal(result.refusal, encoded.refusal, what);
    assert.equal(result.bytes, undefined, what);
  } else {
    assert.equal(hex(result.bytes), encoded.image, what);
  }
}

test('the module answers random inputs exactly as the native build does', async () => {
  const core = await loadCore();
  const cases = readCases();
  const seen = { config: 0, refused: 0, image: 0, decoded: 0, badText: 0, words: 0 };
  cases.forEach((c, n) => {
    const what = `case ${n} (${c.kind})`;
    seen[c.kind] += 1;
    if (c.kind === 'config') {
      assertImport(core, c.text, c.imported, what);
      // An exported text is canonical: it comes back as it was.
      if (c.imported.export) assert.equal(c.imported.export, c.text, what);
      seen.refused += c.encoded.refusal ? 1 : 0;
      seen.words += c.imported.words ? 1 : 0;
      if (c.encoded.image) {
        const decoded = core.decodeImage(bytesOf(c.encoded.image));
        assert.ok(decoded, what + ': decode');
        assert.equal(core.exportText(decoded), c.text, what + ': export of the decoded image');
        decoded.delete();
      }
    } else if (c.kind === 'image') {
      const bytes = bytesOf(c.image);
      const source = core.loadSourceBytes('case.bin', bytes);
      assert.deepEqual(
        { ok: source.ok, message: source.message, refusal: source.refusal },
        c.source,
        what + ': loaded as a file',
      );
      const decoded = core.decodeImage(bytes);
      assert.equal(decoded !== null, c.decoded, what + ': decoded');
      if (decoded) {
        seen.decoded += 1;
        assert.equal(core.exportText(decoded), c.text, what + ': export');
        assertEncoded(core, decoded, c.encoded, what + ': encode');
        if (c.words) {
          seen.words += 1;
          assertWords(core, decoded, c.words, what);
        }
        decoded.delete();
      }
      if (source.config) source.config.delete();
    } else {
      assertImport(core, c.text, c.imported, what);
    }
  });
  // The inputs reached every path.
  assert.equal(seen.config, kCount);
  assert.ok(seen.refused > kCount / 50, 'doubled pins: ' + seen.refused);
  assert.ok(seen.decoded > kCount / 3, 'decoded images: ' + seen.decoded);
  assert.ok(seen.badText > kCount / 5, 'slipped texts: ' + seen.badText);
  assert.ok(seen.words > kCount / 20, 'words: ' + seen.words);
});
