// Pictures of zq70web.html for the user guide, taken in headless Chromium from the built
// page: the example keypad open, "Select a key" finding a name, the macro editor, a doubled
// pin, the check panel, and the device area.
//   node web/scripts/screenshots.mjs OUT-FOLDER [zq70web.html]
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const out = process.argv[2] ?? 'run/screenshots';
const page = process.argv[3] ?? fileURLToPath(new URL('../../build/web/page/zq70web.html', import.meta.url));
const keypad = fileURLToPath(new URL('../../docs/examples/keypad.toml', import.meta.url));
mkdirSync(out, { recursive: true });

// The pictures go into every package, which must come out the same bytes each time: with
// several raster threads and partial raster, Chromium has been seen to draw a rounded
// corner's edge pixels differently from one run to the next; drawn on one thread, whole,
// in grey-scale, the same page gives the same pixels.
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  args: [
    '--no-sandbox',
    '--num-raster-threads=1',
    '--disable-gpu',
    '--disable-partial-raster',
    '--disable-lcd-text',
    '--disable-threaded-animation',
    '--disable-threaded-scrolling',
    '--disable-checker-imaging',
  ],
});
try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 860 }, colorScheme: 'light' });
  const tab = await context.newPage();
  const errors = [];
  tab.on('pageerror', (error) => errors.push(String(error)));
  await tab.goto(pathToFileURL(page).href);
  await tab.waitForSelector('html[data-ready="true"]');
  await tab.setInputFiles('#open-file', keypad);
  await tab.locator('#status', { hasText: 'Opened keypad.toml' }).waitFor();
  // A quiet moment: no caret, no hover.
  await tab.mouse.move(0, 0);
  const shot = async (name, options = {}) => {
    const path = join(out, `${name}.png`);
    await tab.screenshot({ path, animations: 'disabled', caret: 'hide', ...options });
    console.log(path);
  };

  await tab.locator('td[role="gridcell"][aria-label^="Row 3 Col 3:"]').focus();
  await shot('web-page');

  await tab.keyboard.press('Enter');
  await tab.locator('dialog.picker').waitFor();
  await tab.keyboard.type('ctrl');
  // Down goes to the first key found; a focus ring on a text field is not drawn the same
  // in every run, one on a button is.
  await tab.keyboard.press('ArrowDown');
  await shot('web-select-key', { clip: await tab.locator('dialog.picker').boundingBox() });
  await tab.keyboard.press('Escape');
  await tab.locator('dialog.picker').waitFor({ state: 'detached' });

  await tab.click('button[data-slot="1"]');
  await tab.locator('dialog.macro-editor').waitFor();
  await shot('web-macro-editor', { clip: await tab.locator('dialog.macro-editor').boundingBox() });
  await tab.keyboard.press('Escape');
  await tab.locator('dialog.macro-editor').waitFor({ state: 'detached' });

  const element = async (name, selector) => {
    const path = join(out, `${name}.png`);
    await tab.locator(selector).screenshot({ path, animations: 'disabled', caret: 'hide' });
    console.log(path);
  };
  await tab.selectOption('#pin-input-1', { label: 'A' });
  await tab.locator('ul.findings li.error').waitFor();
  await element('web-doubled-pin', '#layout-section');
  await element('web-check', '#check-section');
  await tab.keyboard.press('Control+z');
  await element('web-device', '#device-section');
  if (errors.length) throw new Error(`the page failed: ${errors.join('; ')}`);
} finally {
  await browser.close();
}
