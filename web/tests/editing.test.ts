// A person's session from a new configuration to a saved file: layout and pins, keys by
// mouse and by keyboard, a macro, options, undo and redo, Save. The saved bytes must be what
// zq70cfg import makes of the text that person would write for the same configuration.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import type { Page } from 'playwright-core';
import { cell, chooseKey, closed, downloadFrom, key, sharedBrowser, openPage, pageErrors, scratchFolder, zq70cfg } from './support/page.js';

const browser = sharedBrowser();

const personsText = `# Two by two keys on U to X, the inputs on A to T.
[layout]
rows = 2
columns = 2
column_pins = ["U", "V"]
row_pins = ["W", "X"]
input_pins = ["A", "B", "C", "D", "E", "F", "G", "H", "I", "J",
              "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T"]

[options]
"Typematic Function" = "Enabled"
"Baud Rate Setting" = "19200"

[cells]
"Row 1 Col 1" = "A"
"Row 1 Col 2" = "Enter"
"Row 2 Col 1" = "Macro 1"

[inputs]
"Input 3" = "F5"

[[macro]]
make = ["press L Ctrl", "press P", "release P", "release L Ctrl"]
break = ["wait 250 ms"]
`;

async function pickStep(page: Page, row: 'Make' | 'Break', step: number, choose: (picker: Page) => Promise<void>) {
  await page.locator(`dialog.macro-editor button[aria-label^="${row} step ${step}:"]`).click();
  await page.locator('dialog.picker').waitFor();
  await choose(page);
  await closed(page);
}

test('a configuration made by mouse and keyboard saves as zq70cfg imports its text', async () => {
  const page = await openPage(browser());

  // Layout: two rows and two columns leave 20 inputs, which keep pins A to T.
  await page.selectOption('#rows', '2');
  await page.selectOption('#columns', '2');
  assert.equal(await page.locator('#discretes').innerText(), '20');
  assert.equal(await page.locator('.pins li.doubled').count(), 8, 'A, B, M, N are doubled on two lines each');
  await page.selectOption('#pin-column-0', { label: 'U' });
  await page.selectOption('#pin-column-1', { label: 'V' });
  await page.selectOption('#pin-row-0', { label: 'W' });
  await page.selectOption('#pin-row-1', { label: 'X' });
  assert.equal(await page.locator('.pins li.doubled').count(), 0);

  // A key by mouse: double click, then the key on the drawn keyboard.
  await cell(page, 'Row 1 Col 1').dblclick();
  await chooseKey(page, 'A');
  assert.equal(await cell(page, 'Row 1 Col 1').getAttribute('aria-label'), 'Row 1 Col 1: A');

  // A key by keyboard: arrow to the next cell, Enter, type the name, Enter.
  await cell(page, 'Row 1 Col 1').focus();
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  await page.keyboard.type('enter');
  await page.keyboard.press('Enter');
  await closed(page);
  assert.equal(await cell(page, 'Row 1 Col 2').getAttribute('aria-label'), 'Row 1 Col 2: Enter');

  // A key for an input through the buttons above the grid.
  await cell(page, 'Input 3').click();
  await page.click('#cell-key');
  await chooseKey(page, 'F5');
  assert.equal(await cell(page, 'Input 3').innerText(), 'F5');

  // A macro: Ctrl+double-click opens the macro editor on a new macro.
  await cell(page, 'Row 2 Col 1').dblclick({ modifiers: ['Control'] });
  const editor = page.locator('dialog.macro-editor');
  await editor.waitFor();
  assert.equal(await editor.locator('#macro-remaining').innerText(), 'Macro memory remaining: 336');
  await pickStep(page, 'Make', 1, () => key(page, 'Left Ctrl').click());
  assert.equal(await editor.locator('#macro-remaining').innerText(), 'Macro memory remaining: 333');
  await pickStep(page, 'Make', 2, () => key(page, 'P').click());
  await pickStep(page, 'Make', 3, async () => {
    await page.check('#kind-break');
    await key(page, 'P').click();
  });
  await pickStep(page, 'Make', 4, async () => {
    await page.check('#kind-break');
    await key(page, 'Left Ctrl').click();
  });
  await pickStep(page, 'Break', 1, async () => {
    await page.fill('#delay-ms', '250');
    await page.click('#delay-button');
  });
  assert.equal(await editor.locator('button[aria-label^="Break step 1:"]').innerText(), 'Delay\n250ms');
  assert.equal(await editor.locator('#macro-remaining').innerText(), 'Macro memory remaining: 328');
  await editor.locator('button', { hasText: 'OK' }).click();
  await closed(page, 'dialog.macro-editor');
  assert.equal(await cell(page, 'Row 2 Col 1').innerText(), 'Macro\n(L Ctrl, P, ...)');
  assert.match(await page.locator('#memory-words').innerText(), /^8 of 336 bytes used/);

  // Options by caption and item; undo and redo the last one.
  await page.selectOption('#option-7', { label: 'Enabled' }); // Typematic Function
  await page.selectOption('#option-5', { label: '19200' }); // Baud Rate Setting
  await page.keyboard.press('Control+z');
  assert.equal(await page.locator('#option-5 option:checked').innerText(), '9600');
  await page.click('#redo');
  assert.equal(await page.locator('#option-5 option:checked').innerText(), '19200');
  // An undone cell comes back with redo as well.
  await page.click('#undo');
  await page.click('#undo');
  await page.click('#undo');
  assert.equal(await cell(page, 'Row 2 Col 1').innerText(), 'Not Used');
  for (let i = 0; i < 3; ++i) await page.click('#redo');
  assert.equal(await cell(page, 'Row 2 Col 1').innerText(), 'Macro\n(L Ctrl, P, ...)');
  assert.equal(await page.locator('#document-state').innerText(), 'modified');

  const saved = await downloadFrom(page, () => page.click('#save'));
  assert.equal(saved.name, 'configuration.bin');
  assert.equal(await page.locator('#document-state').innerText(), '');

  const scratch = scratchFolder();
  try {
    const made = join(scratch.path, 'person.bin');
    zq70cfg('import', scratch.file('person.toml', personsText), '-o', made);
    assert.deepEqual(saved.bytes, readFileSync(made));
  } finally {
    scratch.remove();
  }
  assert.deepEqual(pageErrors(page), []);
});

test('Switches/Keypad to RS-232 asks first, then cells take raw codes that saturate at 255', async () => {
  const page = await openPage(browser());
  await cell(page, 'Row 1 Col 1').dblclick();
  await chooseKey(page, 'Esc');

  await page.selectOption('#option-2', { label: 'RS-232' });
  const dialog = page.locator('dialog.message');
  assert.match(await dialog.locator('p').innerText(), /^Warning! Changing this setting will clear the matrix and\n/);
  await dialog.locator('button[data-answer="no"]').click();
  await closed(page, 'dialog.message');
  assert.equal(await page.locator('#option-2 option:checked').innerText(), 'Computer');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Esc');

  await page.selectOption('#option-2', { label: 'RS-232' });
  await page.locator('dialog.message button[data-answer="yes"]').click();
  await closed(page, 'dialog.message');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Not Used');
  assert.equal(await page.locator('#cell-macro').isDisabled(), true);

  await cell(page, 'Row 1 Col 1').dblclick();
  await page.fill('#key-code', '300');
  await page.keyboard.press('Enter');
  await closed(page, 'dialog.key-code');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), '255\n0xff');
  await cell(page, 'Row 1 Col 1').press('Delete');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Not Used');
  await page.keyboard.press('Control+z');
  assert.equal(await cell(page, 'Row 1 Col 1').innerText(), '255\n0xff');
});

test('a macro shared by two cells says so, and emptying it frees both cells', async () => {
  const page = await openPage(browser());
  const scratch = scratchFolder();
  try {
    await page.setInputFiles(
      '#open-file',
      scratch.file(
        'shared.toml',
        '[cells]\n"Row 1 Col 1" = "Macro 1"\n"Row 2 Col 2" = "Macro 1"\n[[macro]]\nmake = ["press A"]\nbreak = ["release A"]\n',
      ),
    );
    await page.locator('#status', { hasText: 'Opened shared.toml' }).waitFor();
    assert.match(await page.locator('ul.macros').innerText(), /Shared by 2 cells: Row 1 Col 1, Row 2 Col 2/);

    await page.click('button[data-slot="0"]');
    const editor = page.locator('dialog.macro-editor');
    assert.match(await editor.locator('.shared').innerText(), /Row 1 Col 1, Row 2 Col 2 run this macro/);
    for (const step of ['Make step 1:', 'Break step 1:']) {
      await editor.locator(`button[aria-label^="${step}"]`).focus();
      await page.keyboard.press('Delete');
    }
    await editor.locator('button', { hasText: 'OK' }).click();
    await closed(page, 'dialog.macro-editor');
    assert.equal(await cell(page, 'Row 1 Col 1').innerText(), 'Not Used');
    assert.equal(await cell(page, 'Row 2 Col 2').innerText(), 'Not Used');
    assert.equal(await page.locator('ul.macros li').count(), 0);
  } finally {
    scratch.remove();
  }
});
