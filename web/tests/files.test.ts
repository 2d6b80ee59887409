// Files: Save writes back to the opened file where the browser() has the File System Access
// API (in the file's own form: 512 bytes, or the text for a .toml); a dropped file opens;
// unsaved changes are guarded when the tab closes and before New; Compare speaks zq70cfg diff.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import type { Page } from 'playwright-core';
import { cell, chooseKey, closed, sharedBrowser, openFile, openPage, pageErrors, pageUrl, root, scratchFolder, zq70cfg } from './support/page.js';

const browser = sharedBrowser();

// A stand-in for the File System Access API: the picker hands out one file whose writes the
// test reads back.
function fileAccessStandIn(name: string, bytes: Uint8Array): string {
  return `(() => {
    const bytes = Uint8Array.from(atob(${JSON.stringify(Buffer.from(bytes).toString('base64'))}), (c) => c.charCodeAt(0));
    window.written = [];
    const handle = {
      name: ${JSON.stringify(name)},
      getFile: async () => new File([bytes], ${JSON.stringify(name)}),
      createWritable: async () => {
        const parts = [];
        return {
          write: async (data) => { parts.push(new Uint8Array(await new Blob([data]).arrayBuffer())); },
          close: async () => { window.written.push(parts.flatMap((p) => [...p])); },
        };
      },
    };
    window.showOpenFilePicker = async () => [handle];
    window.showSaveFilePicker = async () => { throw new Error('Save must write back to the opened file'); };
  })();`;
}

async function written(page: Page): Promise<Buffer[]> {
  const files = await page.evaluate(() => (window as unknown as { written: number[][] }).written);
  return files.map((f) => Buffer.from(f));
}

test('Save writes back to the opened file, in its own form', async () => {
  const scratch = scratchFolder();
  try {
    const keypad = join(root, 'docs/examples/keypad.toml');
    const image = join(scratch.path, 'keypad.bin');
    zq70cfg('import', keypad, '-o', image);
    for (const [name, bytes] of [['keypad.bin', readFileSync(image)], ['keypad.toml', readFileSync(keypad)]] as const) {
      const page = await openPage(browser(), { withoutFileAccess: false, init: fileAccessStandIn(name, bytes) });
      await page.click('#open');
      await page.locator('#document-name', { hasText: name }).waitFor();
      await cell(page, 'Row 1 Col 1').dblclick();
      await chooseKey(page, 'F12');
      await page.keyboard.press('Control+s');
      await page.locator('#status', { hasText: `Saved ${name}` }).waitFor();

      const changed = scratch.file('changed.toml', readFileSync(keypad, 'utf8').replace('"Row 1 Col 1" = "1 !"', '"Row 1 Col 1" = "F12"'));
      const [file] = await written(page);
      if (name.endsWith('.toml')) {
        assert.equal(file!.toString('utf8'), zq70cfg('export', changed).toString('utf8'));
      } else {
        const expected = join(scratch.path, 'changed.bin');
        zq70cfg('import', changed, '-o', expected);
        assert.deepEqual(file, readFileSync(expected));
      }
      assert.equal(await page.locator('#document-state').innerText(), '');
      assert.deepEqual(pageErrors(page), []);
      await page.close();
    }
  } finally {
    scratch.remove();
  }
});

test('a file dropped on the page opens', async () => {
  const page = await openPage(browser());
  const text = readFileSync(join(root, 'docs/examples/keypad.toml'), 'utf8');
  const transfer = await page.evaluateHandle((content) => {
    const data = new DataTransfer();
    data.items.add(new File([content], 'dropped.toml'));
    return data;
  }, text);
  await page.dispatchEvent('main', 'dragover', { dataTransfer: transfer });
  assert.equal(await page.locator('#drop-hint').isVisible(), true);
  await page.dispatchEvent('main', 'drop', { dataTransfer: transfer });
  await page.locator('#document-name', { hasText: 'dropped.toml' }).waitFor();
  assert.equal(await cell(page, 'Row 4 Col 4').innerText(), 'Macro\n(L Ctrl, P, ...)');
  assert.equal(await page.locator('#drop-hint').isVisible(), false);
});

test('unsaved changes: closing the tab asks, and New offers to save first', async () => {
  const page = await openPage(browser());
  await cell(page, 'Row 1 Col 1').dblclick();
  await chooseKey(page, 'Tab');

  await page.click('#new');
  const question = page.locator('dialog.message p');
  assert.equal(await question.innerText(), 'The current configuration has changed.\nDo you want to save the changes?');
  await page.locator('dialog.message button[data-answer="cancel"]').click();
  await closed(page, 'dialog.message');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Tab', 'Cancel keeps it');

  const asked = new Promise<string>((resolve) =>
    page.once('dialog', (dialog) => {
      resolve(dialog.type());
      void dialog.dismiss();
    }),
  );
  await page.close({ runBeforeUnload: true });
  assert.equal(await asked, 'beforeunload');
  assert.equal(page.isClosed(), false, 'the tab stays when the user says no');

  await page.click('#new');
  await page.locator('dialog.message button[data-answer="no"]').click();
  await closed(page, 'dialog.message');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Not Used');
  // Nothing to ask now: the tab closes at once.
  await Promise.all([page.waitForEvent('close'), page.close({ runBeforeUnload: true })]);
});

test('Compare with a file lists what differs as zq70cfg diff says it', async () => {
  const page = await openPage(browser());
  const keypad = join(root, 'docs/examples/keypad.toml');
  await openFile(page, keypad);
  await page.locator('#document-name', { hasText: 'keypad.toml' }).waitFor();
  const panel = join(root, 'tests/zq70cfg/data/panel.toml');
  await page.setInputFiles('#compare-file', panel);
  await page.locator('#compare-heading', { hasText: 'panel.toml' }).waitFor();
  let expected = '';
  try {
    zq70cfg('diff', keypad, panel);
  } catch (error) {
    expected = String((error as { stdout: Buffer }).stdout);
  }
  const lines = await page.locator('ul.differences li').allInnerTexts();
  assert.ok(lines.length > 5);
  assert.deepEqual(lines, expected.trimEnd().split('\n'));

  // It follows the edits: give Row 1 Col 1 what panel.toml has there.
  const before = lines.length;
  await cell(page, 'Row 1 Col 1').dblclick();
  await chooseKey(page, 'A');
  assert.equal(await page.locator('ul.differences li').count(), before - 1);
});

test('nothing but the file itself is loaded, also while editing and printing', async () => {
  const context = await browser().newContext({ acceptDownloads: true });
  const requests: string[] = [];
  context.on('request', (request) => {
    if (!request.url().startsWith('data:') && !request.url().startsWith('blob:')) requests.push(request.url());
  });
  await context.route(/^(https?|wss?):/, (route) => route.abort());
  const page = await context.newPage();
  await page.addInitScript(() => {
    window.print = () => undefined;
  });
  await page.goto(pageUrl);
  await page.waitForSelector('html[data-ready="true"]');
  await openFile(page, join(root, 'docs/examples/keypad.toml'));
  await page.locator('#status', { hasText: 'Opened keypad.toml' }).waitFor();
  await cell(page, 'Row 1 Col 1').dblclick();
  await chooseKey(page, 'F1');
  await page.click('button[data-slot="0"]');
  await page.keyboard.press('Escape');
  await page.click('#print');
  await page.locator('#print-frame').waitFor({ state: 'attached' });
  await Promise.all([page.waitForEvent('download'), page.click('#export')]);
  assert.deepEqual(requests, [pageUrl]);
  await context.close();
});
