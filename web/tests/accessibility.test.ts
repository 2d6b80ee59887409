// Accessibility: axe-core (injected from npm) finds no serious or critical violation on the
// page, in its dialogs, in forced-colours mode and at 200 % zoom; the page does not scroll
// sideways at 200 % zoom and every control it reaches by Tab shows its focus.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import type { Page } from 'playwright-core';
import { cell, sharedBrowser, openPage } from './support/page.js';

const axePath = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

const browser = sharedBrowser();

interface Violation {
  id: string;
  impact: string;
  help: string;
  nodes: { target: string[] }[];
}

async function seriousViolations(page: Page): Promise<string[]> {
  if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ path: axePath });
  const violations = await page.evaluate(async () => {
    const axe = (window as unknown as { axe: { run(context: Document): Promise<{ violations: unknown[] }> } }).axe;
    return (await axe.run(document)).violations as Violation[];
  });
  return violations
    .filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.impact} ${v.id}: ${v.help} at ${v.nodes.map((n) => n.target.join(' ')).join('; ')}`);
}

async function everyState(page: Page, where: string): Promise<void> {
  assert.deepEqual(await seriousViolations(page), [], `${where}: the page`);
  await cell(page, 'Row 1 Col 1').dblclick();
  await page.locator('dialog.picker').waitFor();
  await page.keyboard.type('ctr');
  assert.deepEqual(await seriousViolations(page), [], `${where}: Select a key`);
  await page.keyboard.press('Escape');
  await page.locator('dialog.picker').waitFor({ state: 'detached' });
  await cell(page, 'Row 1 Col 1').dblclick({ modifiers: ['Control'] });
  await page.locator('dialog.macro-editor').waitFor();
  assert.deepEqual(await seriousViolations(page), [], `${where}: the macro editor`);
  await page.keyboard.press('Escape');
  await page.selectOption('#rows', '11'); // a doubled pin and a check error
  assert.deepEqual(await seriousViolations(page), [], `${where}: a doubled pin`);
}

test('axe-core finds nothing serious, in the light, in forced colours and at 200 % zoom', async () => {
  await everyState(await openPage(browser()), 'normal');

  const contrast = await openPage(browser());
  await contrast.emulateMedia({ forcedColors: 'active', colorScheme: 'dark' });
  await everyState(contrast, 'forced colours');

  // 200 % zoom of a 1280 x 900 window: half as many CSS pixels.
  const zoomed = await openPage(browser(), { viewport: { width: 640, height: 450 } });
  await everyState(zoomed, '200 %');
});

test('at 200 % zoom nothing but the grid and keyboard scroll sideways', async () => {
  const page = await openPage(browser(), { viewport: { width: 640, height: 450 } });
  const overflow = await page.evaluate(() => document.documentElement.scrollWidth - document.documentElement.clientWidth);
  assert.ok(overflow <= 0, `the page is ${overflow} px wider than the window`);
  for (const id of ['new', 'open', 'save', 'undo', 'print', 'rows', 'option-9', 'compare-with-file']) {
    const box = await page.locator(`#${id}`).boundingBox();
    assert.ok(box && box.x >= 0 && box.x + box.width <= 640, `#${id} within the window`);
  }
});

test('every control reached by Tab shows where the focus is', async () => {
  const page = await openPage(browser());
  const seen = new Set<string>();
  for (let i = 0; i < 200; ++i) {
    await page.keyboard.press('Tab');
    const focus = await page.evaluate(() => {
      const e = document.activeElement as HTMLElement | null;
      if (!e || e === document.body) return null;
      const style = getComputedStyle(e);
      const shown = (style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2) || style.boxShadow !== 'none';
      return { id: e.id || `${e.tagName}:${e.getAttribute('aria-label') ?? e.textContent}`, shown };
    });
    if (!focus) continue;
    if (seen.has(focus.id)) break;
    seen.add(focus.id);
    assert.ok(focus.shown, `${focus.id} shows no focus`);
  }
  assert.ok(seen.size > 40, `only ${seen.size} controls reached`);
});
