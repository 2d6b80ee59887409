// The keyboard alone: Tab reaches every control of the page, the arrows reach every cell,
// and each action (layout, pins, keys, a macro, options, undo, check, save, print) works
// without the mouse.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import type { Page } from 'playwright-core';
import { closed, sharedBrowser, openPage, pageErrors } from './support/page.js';

const browser = sharedBrowser();

const focusedId = (page: Page) =>
  page.evaluate(() => {
    const e = document.activeElement as HTMLElement | null;
    return e?.id || e?.getAttribute('aria-label') || e?.textContent?.trim() || e?.tagName || '';
  });

// Tabs until the focus is on the element with this id (or this label), at most `limit` times.
async function tabTo(page: Page, id: string, limit = 120): Promise<void> {
  for (let i = 0; i < limit; ++i) {
    if ((await focusedId(page)) === id) return;
    await page.keyboard.press('Tab');
  }
  assert.fail(`Tab never reaches ${id}`);
}

test('Tab reaches every enabled control of the page, once per grid', async () => {
  const page = await openPage(browser());
  const controls = await page.evaluate(() =>
    [...document.querySelectorAll<HTMLElement>('button, select, input, [tabindex="0"]')]
      .filter((e) => !(e as HTMLButtonElement).disabled && e.tabIndex >= 0 && e.checkVisibility())
      .map((e) => e.id || e.getAttribute('aria-label') || e.textContent || ''),
  );
  const reached = new Set<string>();
  for (let i = 0; i < 2 * controls.length + 10; ++i) {
    await page.keyboard.press('Tab');
    reached.add(await focusedId(page));
  }
  for (const control of controls) assert.ok(reached.has(control), `Tab does not reach ${control}`);
  // The matrix and the inputs are one stop each.
  assert.equal([...reached].filter((id) => id.startsWith('Row ')).length, 1);
});

test('the arrows, Home/End and Page Up/Down reach every cell', async () => {
  const page = await openPage(browser());
  await tabTo(page, 'Row 1 Col 1: Not Used');
  const seen = new Set<string>();
  for (let row = 0; row < 12; ++row) {
    await page.keyboard.press('Home');
    for (let column = 0; column < 12; ++column) {
      seen.add(await focusedId(page));
      await page.keyboard.press('ArrowRight');
    }
    await page.keyboard.press('ArrowDown');
  }
  assert.equal(seen.size, 144);
  await page.keyboard.press('Control+Home');
  assert.match(await focusedId(page), /^Row 1 Col 1:/);
  await page.keyboard.press('PageDown');
  assert.match(await focusedId(page), /^Row 6 Col 1:/);
  await page.keyboard.press('End');
  assert.match(await focusedId(page), /^Row 6 Col 12:/);
  await page.keyboard.press('Control+End');
  assert.match(await focusedId(page), /^Row 12 Col 12:/);
  await page.keyboard.press('PageUp');
  assert.match(await focusedId(page), /^Row 7 Col 12:/);
});

test('every action by keyboard alone', async () => {
  const page = await openPage(browser());
  const downloads: string[] = [];
  page.on('download', (d) => downloads.push(d.suggestedFilename()));

  // Layout: 13 rows (the select follows the arrow keys) leave 11 columns and no input.
  await tabTo(page, 'rows');
  await page.keyboard.press('ArrowDown');
  assert.equal(await page.inputValue('#rows'), '13');
  assert.equal(await page.inputValue('#columns'), '11');
  assert.equal(await page.locator('#discretes').innerText(), '0');
  // A pin typed by its letter, the check panel's error, and back to the line it names.
  await tabTo(page, 'pin-row-12');
  await page.keyboard.press('a');
  assert.equal(await page.locator('#pin-row-12 option:checked').innerText(), 'A');
  await tabTo(page, 'Error: Pin A is used for multiple scan lines', 300);
  await page.keyboard.press('Enter');
  assert.equal(await focusedId(page), 'pin-row-12');
  await page.keyboard.press('l');
  assert.equal(await page.locator('ul.findings li.error').count(), 0);
  await page.keyboard.press('Shift+Tab');

  // A key: Enter opens "Select a key", typing finds a name, Enter takes it.
  await tabTo(page, 'Row 1 Col 1: Not Used', 300);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  await page.keyboard.type('page up');
  await page.keyboard.press('Enter');
  await closed(page);
  assert.equal(await focusedId(page), 'Row 1 Col 2: Page Up');
  // Arrows in the drawn keyboard, Esc to cancel.
  await page.keyboard.press('Enter');
  assert.match(await focusedId(page), /^PgUp/);
  await page.keyboard.press('ArrowRight');
  assert.match(await focusedId(page), /^Num/);
  await page.keyboard.press('Escape');
  await closed(page);
  assert.equal(await focusedId(page), 'Row 1 Col 2: Page Up');

  // A macro: Ctrl+Enter; Enter on a step; the picker's Make/Break and Delay by keyboard.
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Control+Enter');
  await page.locator('dialog.macro-editor').waitFor();
  assert.match(await focusedId(page), /^Make step 1:/);
  await page.keyboard.press('Enter');
  await page.keyboard.type('left shift');
  await page.keyboard.press('Enter');
  await closed(page);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  await tabTo(page, 'delay-ms');
  await page.keyboard.press('Control+a');
  await page.keyboard.type('5');
  await page.keyboard.press('Enter'); // 5 ms: the shortest delay, 10 ms
  await closed(page);
  assert.match(await focusedId(page), /^Make step 2: wait 10 ms/);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  await tabTo(page, 'kind-make');
  await page.keyboard.press('ArrowDown'); // Break
  await page.keyboard.type('left shift');
  await page.keyboard.press('Enter');
  await closed(page);
  assert.match(await focusedId(page), /^Make step 3: release L Sft/);
  await page.keyboard.press('Control+z');
  assert.match(await focusedId(page), /^Make step 3: Not Used/);
  await page.keyboard.press('Control+y');
  await tabTo(page, 'OK');
  await page.keyboard.press('Enter');
  await closed(page, 'dialog.macro-editor');
  assert.equal(await focusedId(page), 'Row 2 Col 2: Macro (L Sft, Delay, ...)');

  // An option, then undo and redo from the keyboard.
  await tabTo(page, 'option-9');
  await page.keyboard.press('Home');
  assert.equal(await page.locator('#option-9 option:checked').innerText(), '2.0');
  await page.keyboard.press('Control+z');
  assert.equal(await page.locator('#option-9 option:checked').innerText(), '10.9');
  await page.keyboard.press('Control+y');
  assert.equal(await page.locator('#option-9 option:checked').innerText(), '2.0');

  // Save and print.
  await Promise.all([page.waitForEvent('download'), page.keyboard.press('Control+s')]);
  assert.deepEqual(downloads, ['configuration.bin']);
  assert.equal(await page.locator('#document-state').innerText(), '');
  await tabTo(page, 'print');
  await page.keyboard.press('Enter');
  await page.locator('#print-frame').waitFor({ state: 'attached' });
  assert.deepEqual(pageErrors(page), []);
});
