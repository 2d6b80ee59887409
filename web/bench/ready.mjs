// How soon zq70web.html is ready for input when opened from disk in headless Chromium, and
// how large it is. Opens the page in a fresh tab RUNS times (default 15) and reports the
// median and the spread of the time from navigation start to the page's 'zq70-ready' mark
// (the core compiled and every part of the page shown), with the browser's own parts of it.
//   node web/bench/ready.mjs [path/to/zq70web.html]
import { statSync } from 'node:fs';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const page = process.argv[2] ?? fileURLToPath(new URL('../../build/web/page/zq70web.html', import.meta.url));
const runs = Number(process.env.RUNS ?? 15);
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });
const samples = [];
try {
  for (let i = 0; i < runs + 1; ++i) {
    const context = await browser.newContext();
    const tab = await context.newPage();
    await tab.goto(pathToFileURL(page).href);
    await tab.waitForSelector('html[data-ready="true"]');
    const times = await tab.evaluate(() => {
      const navigation = performance.getEntriesByType('navigation')[0];
      return {
        ready: performance.getEntriesByName('zq70-ready')[0].startTime,
        parsed: navigation.domInteractive,
        core: performance.getEntriesByName('zq70-core')[0]?.startTime ?? NaN,
      };
    });
    if (i > 0) samples.push(times); // the first run warms the browser's own caches
    await context.close();
  }
} finally {
  await browser.close();
}
const median = (key) => {
  const sorted = samples.map((s) => s[key]).sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};
const ready = samples.map((s) => s.ready).sort((a, b) => a - b);
console.log(`zq70web.html: ${statSync(page).size} bytes (${(statSync(page).size / 1048576).toFixed(2)} MB)`);
console.log(
  `ready for input: median ${median('ready').toFixed(0)} ms, fastest ${ready[0].toFixed(0)} ms, ` +
    `slowest ${ready[ready.length - 1].toFixed(0)} ms over ${samples.length} openings`,
);
console.log(`  of which: HTML and script parsed ${median('parsed').toFixed(0)} ms, core ready ${median('core').toFixed(0)} ms`);
