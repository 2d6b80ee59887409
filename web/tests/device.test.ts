// The device panel as a user meets it, in headless Chromium with a stand-in Web Serial port
// that reaches zq70sim on a pseudo-terminal through a local WebSocket: Read, Write with
// verify, a bad cell that verify names, a silent device, a device unplugged mid-write, a
// port that goes away, Cancel, the chooser, a port in use; and a browser without Web Serial.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import type { Browser, Page } from 'playwright-core';
import { bridgedSerialScript, startBridge, startSim } from './support/serial_bridge.js';
import { downloadFrom, launch, openPage, pageErrors, root, scratchFolder, zq70cfg } from './support/page.js';

let browser: Browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const message = (page: Page) => page.locator('#device-message');

// zq70sim and its bridge for one test, and the page with the stand-in port connected.
async function rig(...simOptions: string[]) {
  const folder = scratchFolder();
  const memory = join(folder.path, 'memory.bin');
  const sim = await startSim('--memory', memory, ...simOptions);
  const bridge = await startBridge(sim.pty);
  const page = await openPage(browser, { init: bridgedSerialScript(bridge.url) });
  await page.click('#device-connect');
  assert.equal(await page.locator('#device-port').innerText(), 'Port: USB 1A86:7523 (opened for each operation)');
  return {
    page,
    sim,
    bridge,
    folder,
    memory,
    done: async () => {
      assert.deepEqual(pageErrors(page), []);
      await page.context().close();
      await bridge.close();
      await sim.stop();
      folder.remove();
    },
  };
}

// Runs the operation of a button and gives its message once it has ended.
async function operate(page: Page, button: string): Promise<string> {
  await page.click(button);
  await page.waitForFunction(() => !document.querySelector('.device-panel')?.hasAttribute('data-running'));
  const said = await message(page).innerText();
  if (process.env.ZQ70_SHOW_EXCHANGE) console.log((await page.locator('#device-log').textContent())?.slice(-3000));
  return said;
}

// Waits until the operation that runs has passed percent of its progress.
async function passed(page: Page, percent: number): Promise<void> {
  await page.waitForFunction(
    (p) =>
      (document.querySelector<HTMLProgressElement>('#device-progress')?.value ?? 0) >= p ||
      !document.querySelector('.device-panel')?.hasAttribute('data-running'),
    percent,
  );
  const running = await page.locator('.device-panel').getAttribute('data-running');
  if (!running) {
    const log = ((await page.locator('#device-log').textContent()) ?? '').split('\n');
    assert.fail(`ended before ${percent}%: ${await message(page).innerText()}\n${log.slice(-12).join('\n')}`);
  }
}

test('Write with verify stores the page\'s bytes; Read takes the device into the editor', async () => {
  const r = await rig();
  const { page } = r;
  try {
    // The defaults of a new page, written and read back by the page itself.
    assert.equal(await operate(page, '#device-write'), 'Written to the ZQ70 and verified');
    const saved = await downloadFrom(page, () => page.click('#save'));
    assert.deepEqual(readFileSync(r.memory), saved.bytes);

    // zq70cfg writes an example into the device; the page reads it.
    const example = join(root, 'docs/examples/keypad.toml');
    zq70cfg('write', '--port', r.sim.pty, example);
    assert.equal(await operate(page, '#device-read'), 'Read from the ZQ70 into the editor');
    const exported = await downloadFrom(page, () => page.click('#export'));
    assert.equal(exported.bytes.toString(), zq70cfg('export', r.memory).toString());

    // The last exchange, one command a line, to copy for a bug report.
    const log = (await page.locator('#device-log').textContent()) ?? '';
    assert.match(log, /^Outcome: Read from the ZQ70 into the editor$/m);
    assert.match(log, /^ +\d+\.\d ms {2}52 01 FF {4}-> [0-9A-F]{2} {9}\d+\.\d\d ms$/m);
    assert.equal(log.match(/ -> /g)?.length, 1 + 512 + 1);
  } finally {
    await r.done();
  }
});

test('a bad cell is caught by verify and named; a silent device changes nothing', async () => {
  const r = await rig('--bad-cell-at', '300');
  try {
    assert.equal(
      await operate(r.page, '#device-write'),
      'verify failed: 1 byte differs, at 300 (wrote 0x00, read 0xFF)',
    );
    assert.equal(await message(r.page).getAttribute('class'), 'device-message error');
  } finally {
    await r.done();
  }
  const silent = await rig('--silent');
  try {
    const before = await silent.page.locator('#document-name').innerText();
    assert.equal(
      await operate(silent.page, '#device-read'),
      'error while reading from the ZQ70 (no answer or a wrong answer)',
    );
    assert.equal(await silent.page.locator('#document-name').innerText(), before);
    assert.equal(await silent.page.locator('#document-state').innerText(), '');
  } finally {
    await silent.done();
  }
});

test('a device unplugged mid-write, and a port that goes away, end the write with a message', async () => {
  const r = await rig();
  try {
    // While it runs, the device controls and the editor wait.
    await r.page.click('#device-write');
    await passed(r.page, 20);
    assert.equal(await r.page.locator('#device-read').isDisabled(), true);
    assert.equal(await r.page.evaluate(() => document.getElementById('layout-section')?.inert), true);
    r.sim.signal('SIGUSR1'); // the device is off the line; the port stays
    await r.page.waitForFunction(() => !document.querySelector('.device-panel')?.hasAttribute('data-running'));
    assert.equal(await message(r.page).innerText(), 'error while writing to the ZQ70 (no answer or a wrong answer)');
    assert.equal(await r.page.evaluate(() => document.getElementById('layout-section')?.inert), false);

    r.sim.signal('SIGUSR2');
    await r.page.click('#device-write');
    await passed(r.page, 20);
    r.bridge.drop(); // the USB adapter pulled out
    await r.page.waitForFunction(() => !document.querySelector('.device-panel')?.hasAttribute('data-running'));
    assert.equal(await message(r.page).innerText(), 'error while writing to the ZQ70 (the serial port went away)');
    assert.equal(await r.page.locator('#device-port').innerText(), 'No port chosen (the last one went away)');
    assert.equal(await r.page.locator('#device-write').isDisabled(), true);
  } finally {
    await r.done();
  }
});

test('Cancel stops between two commands and closes the port; the device is left ready', async () => {
  const r = await rig();
  try {
    await r.page.click('#device-write');
    await passed(r.page, 30);
    await r.page.click('#device-cancel');
    await r.page.waitForFunction(() => !document.querySelector('.device-panel')?.hasAttribute('data-running'));
    assert.equal(
      await message(r.page).innerText(),
      'interrupted while writing: the ZQ70 may hold a partly written configuration; write it again',
    );
    assert.equal(await r.page.evaluate(() => (window as any).standIn.port.readable), null);
    // No command was cut in half: the next operation is understood from its first byte and
    // answered throughout. The device holds a half-written image, which the decoder refuses
    // (its pin list was never written), and the editor stays as it was.
    assert.equal(
      await operate(r.page, '#device-read'),
      'the ZQ70 holds no valid configuration; the configuration on screen was not changed',
    );
    const log = (await r.page.locator('#device-log').textContent()) ?? '';
    assert.equal(log.match(/ -> [0-9A-F]{2} /g)?.length, 1 + 512 + 1);
    assert.equal(await r.page.locator('#document-state').innerText(), '');
  } finally {
    await r.done();
  }
});

test('the chooser: closed or empty says no more than a hint; a port in use says so', async () => {
  const r = await rig();
  try {
    await r.page.evaluate(() => ((window as any).standIn.serial.chooser = 'cancel'));
    await r.page.click('#device-connect');
    assert.match(await message(r.page).innerText(), /^No port chosen\. If the list was empty: check the cable/);
    assert.match(await message(r.page).innerText(), /dialout group/);
    assert.equal(await message(r.page).getAttribute('class'), 'device-message');

    await r.page.evaluate(() => {
      const standIn = (window as any).standIn;
      standIn.serial.chooser = 'first';
      standIn.port.openError = 'NetworkError';
    });
    await r.page.click('#device-connect');
    assert.equal(
      await operate(r.page, '#device-read'),
      'cannot open the serial port: it is in use, by another program or by this page in another tab',
    );
  } finally {
    await r.done();
  }
});

test('without Web Serial the device area says why in one sentence, and editing works', async () => {
  const page = await openPage(browser, {
    init: 'delete Navigator.prototype.serial;',
  });
  try {
    const off = page.locator('.device-off');
    assert.equal(await off.isVisible(), true);
    assert.match(await off.innerText(), /^Reading and writing a ZQ70 is off because this browser has no Web Serial: use Chrome or Edge .*zq70cfg, or the Windows program/);
    assert.equal(await page.locator('#device-connect').isVisible(), false);
    await page.selectOption('#rows', '4');
    assert.equal(await page.locator('#document-state').innerText(), 'modified');
    assert.deepEqual(pageErrors(page), []);
  } finally {
    await page.context().close();
  }
});
