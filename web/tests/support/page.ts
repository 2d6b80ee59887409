// What the page's tests share: Debian's Chromium through playwright-core, the built page
// opened from disk as a user opens it, and zq70cfg of the native build to compare with.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { after, before } from 'node:test';
import { chromium, type Browser, type Download, type Page } from 'playwright-core';

// web/.test-build/tests/support/ -> the repository.
export const root = fileURLToPath(new URL('../../../../', import.meta.url));
export const pagePath = process.env.ZQ70_PAGE ?? join(root, 'build/web/page/zq70web.html');
export const pageUrl = pathToFileURL(pagePath).href;
const zq70cfgPath = process.env.ZQ70CFG ?? join(root, 'build/native/tools/zq70cfg/zq70cfg');

export function launch(): Promise<Browser> {
  return chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });
}

// One browser for the tests of a file: started before the first, closed after the last.
// ready() waits for it, for hooks of the file's own that need it.
export function sharedBrowser(): (() => Browser) & { ready(): Promise<Browser> } {
  let launching: Promise<Browser> | undefined;
  let browser: Browser | undefined;
  const ready = async () => (browser = await (launching ??= launch()));
  before(ready);
  after(async () => {
    await (await launching)?.close();
  });
  return Object.assign(() => browser!, { ready });
}

export interface OpenOptions {
  // Runs in the page before its own script (a stand-in for a browser API).
  init?: string;
  // A browser without the File System Access API: Save and Export download.
  withoutFileAccess?: boolean;
  viewport?: { width: number; height: number };
}

// The page, ready for input; every error it throws fails the test that opened it.
export async function openPage(browser: Browser, options: OpenOptions = {}): Promise<Page> {
  const context = await browser.newContext({
    acceptDownloads: true,
    viewport: options.viewport ?? { width: 1280, height: 900 },
  });
  const page = await context.newPage();
  const errors: string[] = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  (page as Page & { errors: string[] }).errors = errors;
  if (options.withoutFileAccess ?? true) {
    await page.addInitScript(() => {
      delete (window as unknown as Record<string, unknown>).showOpenFilePicker;
      delete (window as unknown as Record<string, unknown>).showSaveFilePicker;
    });
  }
  // The wiring sheet's print dialog cannot be answered headless.
  await page.addInitScript(() => {
    window.print = () => undefined;
  });
  if (options.init) await page.addInitScript(options.init);
  await page.goto(pageUrl);
  await page.waitForSelector('html[data-ready="true"]');
  return page;
}

export function pageErrors(page: Page): string[] {
  return (page as Page & { errors?: string[] }).errors ?? [];
}

// Runs zq70cfg and gives its standard output as bytes.
export function zq70cfg(...args: string[]): Buffer {
  return execFileSync(zq70cfgPath, args, { maxBuffer: 1 << 20 });
}

export function scratchFolder(): { path: string; file(name: string, data: string | Uint8Array): string; remove(): void } {
  const path = mkdtempSync(join(tmpdir(), 'zq70web-'));
  return {
    path,
    file: (name, data) => {
      const file = join(path, name);
      writeFileSync(file, data);
      return file;
    },
    remove: () => rmSync(path, { recursive: true, force: true }),
  };
}

export async function downloaded(download: Download): Promise<Buffer> {
  const path = await download.path();
  return readFileSync(path);
}

// Clicks what starts a download and gives the file's name and bytes. When none comes, the
// failure says what the page showed meanwhile.
export async function downloadFrom(page: Page, start: () => Promise<unknown>): Promise<{ name: string; bytes: Buffer }> {
  try {
    const [download] = await Promise.all([page.waitForEvent('download', { timeout: 10_000 }), start()]);
    return { name: download.suggestedFilename(), bytes: await downloaded(download) };
  } catch (error) {
    const shown = await page.evaluate(() => ({
      status: document.getElementById('status')?.textContent,
      dialogs: [...document.querySelectorAll('dialog[open]')].map((d) => d.textContent),
      focus: document.activeElement?.outerHTML.slice(0, 120),
    }));
    throw new Error(`${String(error)}; the page: ${JSON.stringify(shown)}; errors: ${pageErrors(page).join('; ')}`);
  }
}

// Opens a file through the page's file chooser, as Open does in a browser without the
// File System Access API.
export async function openFile(page: Page, path: string): Promise<void> {
  await page.setInputFiles('#open-file', path);
}

// The text of the page's message box, answered with its first button (OK or Yes).
export async function messageBox(page: Page, answer = 'ok'): Promise<string> {
  const box = page.locator('dialog.message');
  await box.waitFor();
  const text = await box.locator('p').innerText();
  await box.locator(`button[data-answer="${answer}"]`).click();
  return text;
}

export function cell(page: Page, label: string) {
  return page.locator(`td[role="gridcell"][aria-label^="${label}:"]`);
}

// A key of the drawn keyboard by the name a user reads on it.
export function key(page: Page, longName: string) {
  return page.locator(`dialog.picker button.key[aria-label="${longName}"]`);
}

// A dialog closes in a task of its own; what it answered is in place once it is gone.
export async function closed(page: Page, selector = 'dialog.picker'): Promise<void> {
  await page.locator(selector).waitFor({ state: 'detached' });
}

// Clicks a key in "Select a key" and waits until the answer is stored.
export async function chooseKey(page: Page, longName: string): Promise<void> {
  await key(page, longName).click();
  await closed(page);
}
