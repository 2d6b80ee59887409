// Every example and test configuration opened in the page and exported: the text is the
// bytes of zq70cfg export. A file the page cannot use says zq70cfg's reason and changes
// nothing on screen.
import assert from 'node:assert/strict';
import { readdirSync } from 'node:fs';
import { join } from 'node:path';
import { before, test } from 'node:test';
import type { Page } from 'playwright-core';
import { cell, downloadFrom, sharedBrowser, messageBox, openFile, openPage, pageErrors, root, scratchFolder, zq70cfg } from './support/page.js';

const browser = sharedBrowser();
let page: Page;
before(async () => {
  page = await openPage(await browser.ready());
});

const examples = [
  ...['docs/examples', 'tests/zq70cfg/data', 'tests/fuzz/import_corpus'].flatMap((folder) =>
    readdirSync(join(root, folder))
      .filter((name) => name.endsWith('.toml'))
      .map((name) => join(root, folder, name)),
  ),
  // Configuration files (512 bytes) as the window program saves them.
  ...readdirSync(join(root, 'tests/fuzz/corpus'))
    .filter((name) => name.endsWith('.cfg'))
    .map((name) => join(root, 'tests/fuzz/corpus', name)),
];

test('there are examples of both kinds', () => {
  assert.ok(examples.some((path) => path.endsWith('keypad.toml')));
  assert.ok(examples.filter((path) => path.endsWith('.cfg')).length >= 5);
});

for (const path of examples) {
  const name = path.slice(root.length);
  test(`${name}: Export gives the text of zq70cfg export`, async () => {
    await openFile(page, path);
    await page.locator('#status', { hasText: `Opened ${path.split('/').pop()!}` }).waitFor();
    const exported = await downloadFrom(page, () => page.click('#export'));
    assert.match(exported.name, /\.toml$/);
    assert.equal(exported.bytes.toString('utf8'), zq70cfg('export', path).toString('utf8'));
    assert.equal(await page.locator('#document-state').innerText(), '', 'opening is no change');
    assert.deepEqual(await page.locator('ul.findings li').allInnerTexts(), zq70cfgSays('check', path));
  });
}

// The lines zq70cfg prints, whatever its exit status (check gives 1 for warnings).
function zq70cfgSays(...args: string[]): string[] {
  let out: Buffer;
  try {
    out = zq70cfg(...args);
  } catch (error) {
    out = (error as { stdout: Buffer }).stdout;
  }
  return out.toString('utf8').trimEnd().split('\n');
}

// What zq70cfg says of a file it cannot use, with the file's bare name as the page has it.
function zq70cfgReason(path: string): string {
  try {
    zq70cfg('show', path);
  } catch (error) {
    const said = String((error as { stderr: Buffer }).stderr).trim();
    return said.replace(/^zq70cfg: /, '').replace(path, path.split('/').pop()!);
  }
  throw new Error(`zq70cfg takes ${path}`);
}

test('a file the page cannot use says why as zq70cfg does, and the screen stays', async () => {
  const scratch = scratchFolder();
  try {
    await openFile(page, join(root, 'docs/examples/keypad.toml'));
    await page.locator('#document-name', { hasText: 'keypad.toml' }).waitFor();
    const before = await cell(page, 'Row 1 Col 1').getAttribute('aria-label');
    const bad = scratch.file('bad.toml', '# a slip\n[cells]\n"Row 1 Col 1" = "Shift Lock"\n');
    const short = scratch.file('short.bin', new Uint8Array(100));
    for (const [path, place] of [[bad, /^bad\.toml:3:\d+: /], [short, /^short\.bin: /]] as const) {
      await openFile(page, path);
      const shown = await messageBox(page);
      assert.match(shown, place);
      assert.equal(shown, zq70cfgReason(path));
      assert.equal(await cell(page, 'Row 1 Col 1').getAttribute('aria-label'), before);
      assert.equal(await page.locator('#document-name').innerText(), 'keypad.toml');
    }
  } finally {
    scratch.remove();
  }
  assert.deepEqual(pageErrors(page), []);
});
