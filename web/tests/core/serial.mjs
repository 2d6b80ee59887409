// The Web Serial back-end and the page's Read and Write under Node, with the stand-in Web
// Serial port in front of the simulated device (sim/'s model as a module of its own): the
// bytes, the port's settings and locks, and every way a transfer ends, in zq70cfg's words.
//   node --test web/tests/core/serial.mjs   (after make web-core)
import assert from 'node:assert/strict';
import { after, test } from 'node:test';

import '../support/stand_in_serial.js';
import { loadCore, loadDevice } from './core_support.mjs';

const core = await loadCore();
const deviceModule = await loadDevice();
after(() => {
  core.serialLink.channel.port1.close();
  core.serialLink.lastLook.port1.close();
});

// A port whose device answers at once; hooks let a test bend what the device receives.
function devicePort({ silent = false, bend = (bytes) => bytes } = {}) {
  const device = new deviceModule.DeviceModel();
  const port = new StandInPort();
  port.sent = [];
  port.transmit = (chunk) => {
    port.sent.push(Array.from(chunk));
    if (silent) return;
    const answers = [];
    for (const byte of bend(Array.from(chunk))) {
      const answer = device.serialByte(byte);
      if (answer >= 0) answers.push(answer);
    }
    if (answers.length > 0) port.deliver(answers);
  };
  return { device, port };
}

function image() {
  const config = new core.Configuration();
  const bytes = core.encodeImage(config).bytes;
  config.delete();
  bytes[0] = 0x1e; // a key in the first cell, so that a fresh device differs
  return bytes;
}

async function run(port, what, transfer) {
  core.serialLink.use(port);
  core.serialLink.begin(what);
  const started = performance.now();
  const result = await transfer();
  result.ms = performance.now() - started;
  return result;
}

const write = (port, bytes, verify = true) =>
  run(port, 'Write', () => core.serialWrite(bytes, verify, null));
const read = (port) => run(port, 'Read', () => core.serialRead(null));

function assertReleased(port) {
  assert.equal(port.readable, null, 'the port is closed');
  assert.equal(core.serialLink.isOpen, false);
}

test('write with verify, then read: the device holds the bytes, the port is set and released', async () => {
  const { device, port } = devicePort();
  const bytes = image();
  const progress = [];
  core.serialLink.use(port);
  core.serialLink.begin('Write');
  const written = await core.serialWrite(bytes, true, (text, pass) => progress.push([text, pass]));
  assert.deepEqual(written, { outcome: 'ok', message: '' });
  assert.deepEqual(device.memory(), bytes);
  assert.deepEqual(port.options, { baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
  assert.deepEqual(port.signals, { dataTerminalReady: false, requestToSend: false });
  // One write per command: 128, 'K', 512 x 'W', 'S', 237, then the read-back's.
  assert.deepEqual(port.sent[0], [128]);
  assert.deepEqual(port.sent[2], [0x57, 0, 0, 0x1e]);
  assert.equal(port.sent.length, 2 + 512 + 2 + 1 + 512 + 1);
  assert.equal(port.closed, 2); // once after the write, once after the read-back
  assertReleased(port);
  assert.deepEqual(progress[0], ['Writing configuration - 1%', 0]);
  assert.deepEqual(progress.at(-1), ['Reading configuration - 99%', 1]);

  const back = await read(port);
  assert.equal(back.outcome, 'ok');
  assert.deepEqual(back.bytes, bytes);
  assertReleased(port);
  assert.match(core.serialLink.exchangeText(), /^ +\d+\.\d ms {2}52 01 2C {4}-> 00 {9}\d+\.\d\d ms$/m);
});

test('a silent device: no answer, no bytes, and it gives up after the answer times', async () => {
  const { port } = devicePort({ silent: true });
  const result = await read(port);
  assert.equal(result.outcome, 'failed');
  assert.equal(result.message, 'error while reading from the ZQ70 (no answer or a wrong answer)');
  assert.equal(result.bytes, undefined);
  // 72 ms for the opening 128, 72 for the first 'R', 2 ms of pump.
  assert.ok(result.ms > 140 && result.ms < 400, String(result.ms));
  assertReleased(port);
  const written = await write(port, image());
  assert.equal(written.message, 'error while writing to the ZQ70 (no answer or a wrong answer)');
  assert.ok(port.sent.every((command) => command[0] !== 0x57), "no 'W' after a missing 'K'");
});

test('a cell that keeps a wrong value is caught by verify and named', async () => {
  // The device stores 0xFB whatever is written at 144.
  const bend = (bytes) =>
    bytes.length === 4 && bytes[0] === 0x57 && bytes[1] * 256 + bytes[2] === 144
      ? [0x57, 0, 144, 0xfb]
      : bytes;
  const { port } = devicePort({ bend });
  const bytes = image();
  bytes[144] = 0x04;
  const result = await write(port, bytes);
  assert.equal(result.outcome, 'mismatch');
  assert.equal(result.message, 'verify failed: 1 byte differs, at 144 (wrote 0x04, read 0xFB)');
  assert.deepEqual(result.addresses, [144]);
  assert.equal(result.bytes[144], 0xfb);
});

test('a stop ends the transfer between two commands and closes the port', async () => {
  const { port } = devicePort();
  let commands = 0;
  const transmit = port.transmit;
  port.transmit = (chunk) => {
    if (++commands === 100) core.serialLink.requestStop();
    transmit(chunk);
  };
  const result = await write(port, image());
  assert.equal(result.outcome, 'stopped');
  assert.equal(
    result.message,
    'interrupted while writing: the ZQ70 may hold a partly written configuration; write it again',
  );
  // The command on its way when the stop came went out whole, and nothing after it (the
  // next one's bytes are never sent).
  assert.equal(port.sent.length, 100);
  assert.ok(port.sent.slice(2).every((command) => command.length === 4));
  assertReleased(port);
  // The next operation starts afresh.
  assert.equal((await read(port)).outcome, 'ok');
});

test('a port that goes away mid-write ends the transfer at once with its own message', async () => {
  const { port } = devicePort();
  let commands = 0;
  let unplugged = 0;
  const transmit = port.transmit;
  port.transmit = (chunk) => {
    if (++commands === 200) {
      port.unplug();
      unplugged = performance.now();
      return;
    }
    transmit(chunk);
  };
  const result = await write(port, image());
  assert.equal(result.outcome, 'lost');
  assert.equal(result.message, 'error while writing to the ZQ70 (the serial port went away)');
  // No answer time (72 ms) was waited out.
  const ended = performance.now() - unplugged;
  assert.ok(ended < 30, String(ended));
  assert.match(core.serialLink.exchangeText(), /port gone: disconnected/);
  assert.equal(core.serialLink.isOpen, false);
});

test('a port that cannot be opened, and a late answer that is dropped before the next command', async () => {
  const { port } = devicePort();
  port.openError = 'NetworkError';
  const result = await read(port);
  assert.equal(result.outcome, 'openFailed');
  assert.equal(
    result.message,
    'cannot open the serial port (absent, in use by another program, or not a serial port)',
  );
  assert.equal(core.serialLink.openError, 'NetworkError');
  port.openError = null;

  // The device answers the opening 128 twice: the second '!' must not be taken for the
  // answer to 'R' at 0.
  const { device, port: echoing } = devicePort({ bend: (bytes) => bytes });
  const transmit = echoing.transmit;
  echoing.transmit = (chunk) => {
    transmit(chunk);
    if (chunk[0] === 128) echoing.deliver([0x21]);
  };
  device.serialByte(0x57), device.serialByte(0), device.serialByte(0), device.serialByte(0x42);
  const back = await read(echoing);
  assert.equal(back.outcome, 'ok');
  assert.equal(back.bytes[0], 0x42);
  assert.match(core.serialLink.exchangeText(), /dropped 1 stale bytes/);
});
