// Print: the wiring sheet that the page prints is one page on A4 and on Letter, also for the
// largest matrix and a full macro memory.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { before, test } from 'node:test';
import type { Page } from 'playwright-core';
import { sharedBrowser, openFile, openPage, root } from './support/page.js';

const browser = sharedBrowser();
let page: Page;
before(async () => {
  page = await openPage(await browser.ready());
});

function pageCount(pdf: Buffer): number {
  return pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g)?.length ?? 0;
}

async function printedSheet(paper: 'A4' | 'Letter'): Promise<string> {
  await page.selectOption('#paper', paper);
  await page.click('#print');
  const frame = page.locator('#print-frame');
  await frame.waitFor({ state: 'attached' });
  return (await frame.getAttribute('srcdoc')) ?? '';
}

for (const example of ['docs/examples/keypad.toml', 'tests/fuzz/import_corpus/full_macro_area.toml', 'tests/zq70cfg/data/panel.toml']) {
  for (const paper of ['A4', 'Letter'] as const) {
    test(`${example} prints on one ${paper} page`, async () => {
      await openFile(page, join(root, example));
      await page.locator('#document-name', { hasText: example.split('/').pop()! }).waitFor();
      const sheet = await printedSheet(paper);
      assert.match(sheet, new RegExp(`@page \\{ size: ${paper} portrait; \\}`));
      assert.match(sheet, /Wiring/i);
      const printer = await browser().newPage();
      try {
        await printer.setContent(sheet);
        const pdf = await printer.pdf({ preferCSSPageSize: true, printBackground: true });
        assert.equal(pageCount(pdf), 1);
      } finally {
        await printer.close();
      }
    });
  }
}
