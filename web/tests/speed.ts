// The page's own cost of a transfer: a benchmark that prints figures, not a test.
//   make web-speed   (or: node web/.test-build/tests/speed.js, after make web-core web)
//
// (a) A stand-in device inside the page that answers at once: sim/'s device model as a
//     module of its own (zq70device.js) behind the stand-in Web Serial port. Its floor is
//     the protocol's own wait, 512 x 2 ms per pass. Visible, then with the window minimised
//     (hidden, and throttled by the browser as hidden pages are).
// (b) zq70sim on a pseudo-terminal through the local WebSocket bridge, whose own round trip
//     is measured in the same run: the floor is 512 x (2 ms + that round trip) per pass.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { chainedTimersMs, connect, openWindow, operate, startDisplay, type RawPage } from './support/hidden_page.js';
import { pageUrl, root, scratchFolder } from './support/page.js';
import { bridgedSerialScript, startBridge, startSim } from './support/serial_bridge.js';

const kRuns = Number(process.env.ZQ70_SPEED_RUNS ?? 3);

// The device module as a classic script (it is an ES module) that defines createDevice.
function inPageDeviceScript(): string {
  const standIn = readFileSync(join(root, 'web/tests/support/stand_in_serial.js'), 'utf8');
  const device = readFileSync(join(root, 'build/web/web/zq70device.js'), 'utf8')
    .replace('import.meta.url', 'undefined')
    .replace(/export default createDevice;?/, 'globalThis.createDevice = createDevice;');
  return `${standIn}
${device}
(() => {
  const serial = new StandInSerial();
  const port = new StandInPort({});
  let model = null;
  const ready = createDevice().then((module) => { model = new module.DeviceModel(); });
  port.transmit = (bytes) => {
    const answers = [];
    for (const byte of bytes) {
      const answer = model.serialByte(byte);
      if (answer >= 0) answers.push(answer);
    }
    if (answers.length > 0) port.deliver(answers);
  };
  serial.ports.push(port);
  Object.defineProperty(Navigator.prototype, 'serial', { get: () => serial, configurable: true });
  window.standIn = { serial, port, ready };
})();`;
}


// The mean time an answer took to come in the last operation, from its exchange log.
function meanAnswerMs(page: RawPage): Promise<number> {
  return page.evaluate<number>(`(() => {
    const waits = [...document.getElementById('device-log').textContent.matchAll(/-> [0-9A-F]{2} +([0-9.]+) ms$/gm)];
    return waits.reduce((sum, m) => sum + Number(m[1]), 0) / waits.length;
  })()`);
}

// Best and median of kRuns runs against a floor, as a line of the report; with the answers'
// own time measured in each run, a second figure against 2 ms + that time per command.
async function measure(page: RawPage, what: string, button: string, floor: number, expect: string): Promise<string> {
  const runs: { ms: number; answer: number }[] = [];
  for (let i = 0; i < kRuns; i++) {
    const run = await operate(page, button);
    if (run.message !== expect) throw new Error(`${what}: ${run.message}`);
    runs.push({ ms: run.ms, answer: await meanAnswerMs(page) });
  }
  runs.sort((a, b) => a.ms - b.ms);
  const median = runs[Math.floor(runs.length / 2)]!;
  const passes = button === 'device-write' ? 2 : 1; // the write and its read-back
  const ownFloor = passes * 512 * (2 + median.answer);
  return `${what.padEnd(34)} best ${runs[0]!.ms.toFixed(0).padStart(5)} ms  median ${median.ms.toFixed(0).padStart(5)} ms  floor ${floor.toFixed(0).padStart(5)} ms  x${(median.ms / floor).toFixed(3)}  |  answers took ${median.answer.toFixed(2)} ms: x${(median.ms / ownFloor).toFixed(3)} of ${ownFloor.toFixed(0)} ms`;
}

async function passes(page: RawPage, label: string, perCommand: number): Promise<string[]> {
  const floor = 512 * perCommand;
  // Written first: a new device holds no configuration to read.
  const write = await measure(page, `${label} Write with verify`, 'device-write', 2 * floor, 'Written to the ZQ70 and verified');
  const read = await measure(page, `${label} Read`, 'device-read', floor, 'Read from the ZQ70 into the editor');
  return [read, write];
}

async function main(): Promise<void> {
  const display = await startDisplay();
  const report: string[] = [];
  try {
    const page = await openWindow(display, pageUrl, inPageDeviceScript());
    await page.evaluate('window.standIn.ready');
    await connect(page);
    report.push(...(await passes(page, 'in-page device, visible:', 2)));
    await page.minimise();
    const state = await page.evaluate<string>('document.visibilityState');
    const timers = await chainedTimersMs(page, 7);
    report.push(`(minimised: visibilityState ${state}, 7 chained 2 ms timers take ${timers.toFixed(0)} ms)`);
    report.push(...(await passes(page, 'in-page device, hidden:', 2)));
    await page.close();

    const folder = scratchFolder();
    const sim = await startSim('--memory', join(folder.path, 'memory.bin'));
    const bridge = await startBridge(sim.pty);
    const bridged = await openWindow(display, pageUrl, bridgedSerialScript(bridge.url));
    await connect(bridged);
    // The round trip before and after the transfers, back to back and, as a transfer makes
    // them, each after a 2 ms pause; the floor takes the mean of the paced ones.
    const trips = async (): Promise<[number, number]> => [
      await bridged.evaluate<number>('window.standIn.roundTrip(300)'),
      await bridged.evaluate<number>('window.standIn.roundTrip(300, 2)'),
    ];
    const [hotBefore, before] = await trips();
    const first = await operate(bridged, 'device-write'); // the device gets a configuration
    if (first.message !== 'Written to the ZQ70 and verified') throw new Error(first.message);
    const [hotAfterwards, afterwards] = await trips();
    const rtt = (before + afterwards) / 2;
    const lines = await passes(bridged, 'zq70sim via bridge, visible:', 2 + rtt);
    report.push(`bridge round trip (page, WebSocket, pty, zq70sim and back): back to back ${hotBefore.toFixed(2)} ms and ${hotAfterwards.toFixed(2)} ms; after a 2 ms pause ${before.toFixed(2)} ms and ${afterwards.toFixed(2)} ms; floors take ${rtt.toFixed(2)} ms`);
    report.push(...lines);
    await bridged.close();
    await bridge.close();
    await sim.stop();
    folder.remove();
  } finally {
    display.stop();
  }
  console.log(report.join('\n'));
}

await main();
