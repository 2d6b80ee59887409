// A transfer while the page is hidden (its window minimised): the 2 ms waits before each
// command and the waits for each answer must not fall under the browser's throttling of a
// hidden page's timers (about one a second), which would stretch a write of 512 bytes from
// about two seconds to many minutes.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { test } from 'node:test';
import { chainedTimersMs, connect, openWindow, operate, startDisplay } from './support/hidden_page.js';
import { pageUrl, scratchFolder } from './support/page.js';
import { bridgedSerialScript, startBridge, startSim } from './support/serial_bridge.js';

test('Write with verify and Read run at full speed in a minimised window', async () => {
  const folder = scratchFolder();
  const sim = await startSim('--memory', join(folder.path, 'memory.bin'));
  const bridge = await startBridge(sim.pty);
  const display = await startDisplay();
  const page = await openWindow(display, pageUrl, bridgedSerialScript(bridge.url));
  try {
    const rtt = await page.evaluate<number>('window.standIn.roundTrip(100)');
    await connect(page);
    await page.minimise();
    assert.equal(await page.evaluate('document.visibilityState'), 'hidden');
    // The browser throttles the page as hidden: from the fifth nested timer on, about one
    // a second (visible, seven take about 16 ms).
    const timers = await chainedTimersMs(page, 7);
    assert.ok(timers > 1500, `the page is throttled: 7 chained timers took ${timers} ms`);

    const floor = 512 * (2 + rtt);
    const written = await operate(page, 'device-write');
    assert.equal(written.message, 'Written to the ZQ70 and verified');
    const read = await operate(page, 'device-read');
    assert.equal(read.message, 'Read from the ZQ70 into the editor');
    assert.equal(await page.evaluate('document.visibilityState'), 'hidden');
    // Throttled waits would take hundreds of times the floor; the bound only has to tell
    // that apart on a loaded machine. The speed figures themselves are speed.ts's.
    assert.ok(written.ms < 2 * floor * 4, `write with verify: ${written.ms} ms, floor ${2 * floor}`);
    assert.ok(read.ms < floor * 4, `read: ${read.ms} ms, floor ${floor}`);
  } finally {
    await page.close();
    display.stop();
    await bridge.close();
    await sim.stop();
    folder.remove();
  }
});
