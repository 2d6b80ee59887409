// Opens a zq70web.html as a user does (from disk, in headless Chromium) and works it a
// little: the page starts, a cell takes a key, Save gives 512 bytes and Export the text.
// Exit status 0 when all of that holds; used by scripts/dist-test on the unpacked packages.
//   node web/scripts/smoke.mjs PATH/zq70web.html
import { pathToFileURL } from 'node:url';
import { readFile } from 'node:fs/promises';
import { chromium } from 'playwright-core';

const path = process.argv[2];
if (!path) {
  console.error('usage: smoke.mjs PATH/zq70web.html');
  process.exit(2);
}
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
  const context = await browser.newContext({ acceptDownloads: true });
  const requests = [];
  context.on('request', (request) => {
    if (/^(https?|wss?):/.test(request.url())) requests.push(request.url());
  });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  // Save downloads instead of asking where, as in a browser without the File System Access API.
  await page.addInitScript(() => {
    delete window.showOpenFilePicker;
    delete window.showSaveFilePicker;
  });
  await page.goto(pathToFileURL(path).href);
  await page.waitForSelector('html[data-ready="true"]', { timeout: 10_000 });
  await page.locator('td[role="gridcell"]').first().dblclick();
  await page.locator('dialog.picker button.key[aria-label="Esc"]').click();
  await page.locator('dialog.picker').waitFor({ state: 'detached' });
  const caption = await page.locator('td[role="gridcell"]').first().innerText();
  const download = async (id) => {
    const [file] = await Promise.all([page.waitForEvent('download'), page.click(id)]);
    return readFile(await file.path());
  };
  const image = await download('#save');
  const text = (await download('#export')).toString('utf8');
  const problems = [];
  if (caption !== 'Esc') problems.push(`the cell shows ${JSON.stringify(caption)}`);
  if (image.length !== 512) problems.push(`Save gave ${image.length} bytes`);
  if (!text.includes('"Row 1 Col 1" = "Esc"')) problems.push('Export lacks the cell');
  if (requests.length) problems.push(`it loaded ${requests.join(', ')}`);
  problems.push(...errors);
  if (problems.length) {
    console.error(`smoke: ${path}: ${problems.join('; ')}`);
    process.exitCode = 1;
  } else {
    console.log(`smoke: ${path}: starts, edits, saves 512 bytes, exports the text`);
  }
} finally {
  await browser.close();
}
