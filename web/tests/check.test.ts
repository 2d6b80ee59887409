// A pin used twice: marked on both lines at once, said by the check panel as zq70cfg check
// says it, refused by Save with the encoder's message; choosing a finding selects its place.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { cell, closed, sharedBrowser, messageBox, openPage, pageErrors } from './support/page.js';

const browser = sharedBrowser();

test('a doubled pin is marked on both lines, checked, and refused by Save', async () => {
  const page = await openPage(browser());
  const downloads: string[] = [];
  page.on('download', (d) => downloads.push(d.suggestedFilename()));

  // Eleven rows leave one input, on pin A, which column 1 uses already.
  await page.selectOption('#rows', '11');
  assert.deepEqual(
    await page.locator('.pins li.doubled label').allInnerTexts(),
    ['Col 1', 'Input 1'],
  );
  assert.match(await page.locator('#pin-column-0-note').innerText(), /Pin A doubled: also Input 1/);
  assert.match(await page.locator('#pin-input-0-note').innerText(), /Pin A doubled: also Col 1/);
  assert.equal(await page.locator('th[data-line="column-0"] .pin.doubled').innerText(), 'Pin A (doubled)');
  assert.equal(await page.locator('th[data-line="input-0"] .pin.doubled').innerText(), 'Pin A (doubled)');

  const finding = page.locator('ul.findings li.error button');
  assert.equal(await finding.innerText(), 'Error: Pin A is used for multiple scan lines');
  assert.match(await page.locator('#check-summary').innerText(), /^1 error/);

  await page.click('#save');
  assert.equal(await messageBox(page), 'Error: Pin A is used for multiple scan lines');
  await closed(page, 'dialog.message');
  assert.deepEqual(downloads, []);
  assert.equal(await page.locator('#document-state').innerText(), 'modified');

  // The finding leads to the pin of the line that the encoder found second.
  await finding.click();
  assert.equal(await page.evaluate(() => document.activeElement?.id), 'pin-input-0');
  await page.keyboard.press('End'); // pin X, which no line uses
  assert.equal(await page.locator('.pins li.doubled').count(), 0);
  assert.equal(await page.locator('ul.findings li.error').count(), 0);
  assert.deepEqual(pageErrors(page), []);
});

test('a warning about a cell selects the cell', async () => {
  const page = await openPage(browser());
  // A macro that presses a key and never releases it: check warns about its step.
  await cell(page, 'Row 3 Col 4').focus();
  await page.keyboard.press('Control+Enter');
  await page.locator('dialog.macro-editor button[aria-label^="Make step 1:"]').click();
  await page.locator('dialog.picker button.key[aria-label="A"]').click();
  await closed(page);
  await page.locator('dialog.macro-editor button', { hasText: 'OK' }).click();
  await closed(page, 'dialog.macro-editor');
  const warning = page.locator('ul.findings li.warning button', { hasText: 'Macro 1 make step 1' });
  assert.match(await warning.innerText(), /^Warning: Macro 1 make step 1: press A, and no step releases it/);
  await warning.click();
  assert.equal(await page.evaluate(() => document.activeElement?.closest('li')?.dataset.slot), '0');

  // Switching to RS-232 and back leaves nothing to warn about.
  await page.selectOption('#option-2', { label: 'RS-232' });
  await page.locator('dialog.message button[data-answer="yes"]').click();
  await closed(page, 'dialog.message');
  await page.selectOption('#option-3', { label: 'Make Only' });
  await page.selectOption('#option-2', { label: 'Computer' });
  await page.locator('dialog.message button[data-answer="yes"]').click();
  await closed(page, 'dialog.message');
  assert.equal(await page.locator('#option-3 option:checked').innerText(), 'Make/Break');
  assert.equal(await page.locator('#option-3 option', { hasText: 'Make Only' }).isDisabled(), true);
  assert.equal(await page.locator('#check-summary').innerText(), 'Nothing to fix.');
});
