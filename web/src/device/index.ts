// The device panel: Connect asks the browser for a port; Read, Write (read back and
// compared) and Compare run one at a time while the editor waits; Cancel stops between two
// commands; a progress bar; one message per operation; the last exchange to copy for a bug
// report. Without Web Serial, one sentence says why the area is off.
import type { Core } from '../core';
import type { WebSerialPort } from '../../core/core';
import { kNoPort, kPortGone } from './messages';
import { compareWithDevice, readDevice, writeDevice, type DeviceCore, type Outcome, type Progress } from './operations';
import { choosePort, portName, webSerial, whyOff } from './web_serial';
import './device.css';

export interface DeviceHost {
  image(): { bytes?: Uint8Array; refusal?: string }; // the editor's configuration to write
  takeImage(bytes: Uint8Array): string | undefined; // a read image into the editor; a reason when it cannot be used
  busy(running: boolean): void; // other controls wait meanwhile
  compareWith(bytes: Uint8Array): void; // show a diff against the device
}

const kPanel = `
  <p id="device-off" class="device-off" hidden></p>
  <div class="device-controls">
    <button type="button" id="device-connect">Connect…</button>
    <span id="device-port" class="device-port">No port chosen</span>
  </div>
  <div class="device-controls">
    <button type="button" id="device-read" disabled>Read</button>
    <button type="button" id="device-write" disabled>Write</button>
    <label><input type="checkbox" id="device-verify" checked /> Read back and compare</label>
    <button type="button" id="device-compare" disabled>Compare with the device</button>
    <button type="button" id="device-cancel" hidden>Cancel</button>
  </div>
  <div class="device-progress" hidden>
    <progress id="device-progress" max="100" value="0" aria-labelledby="device-progress-text"></progress>
    <span id="device-progress-text"></span>
  </div>
  <p id="device-message" class="device-message" role="status" aria-live="polite"></p>
  <details class="device-exchange">
    <summary>Last exchange with the device</summary>
    <button type="button" id="device-copy" disabled>Copy for a bug report</button>
    <pre id="device-log" tabindex="0" aria-label="Commands and answers of the last operation"></pre>
  </details>`;

class DevicePanel {
  private port: WebSerialPort | undefined;
  private running = false;
  private readonly find = <T extends HTMLElement>(id: string) => this.root.querySelector<T>(`#${id}`)!;

  constructor(
    private readonly root: HTMLElement,
    private readonly host: DeviceHost,
    private readonly core: DeviceCore,
    private readonly version: string,
  ) {
    root.classList.add('device-panel');
    root.innerHTML = kPanel;
    const off = whyOff();
    if (off !== undefined) {
      this.switchOff(off);
      return;
    }
    this.find('device-connect').addEventListener('click', () => void this.connect());
    this.find('device-read').addEventListener('click', () => void this.run('Read', (p) => readDevice(core, host, p)));
    this.find('device-write').addEventListener('click', () => {
      const verify = this.find<HTMLInputElement>('device-verify').checked;
      void this.run('Write', (p) => writeDevice(core, host, verify, p));
    });
    this.find('device-compare').addEventListener('click', () =>
      void this.run('Compare', (p) => compareWithDevice(core, host, p)),
    );
    this.find('device-cancel').addEventListener('click', () => this.cancel());
    this.find('device-copy').addEventListener('click', () => void this.copyExchange());
    webSerial()?.addEventListener('disconnect', (event) => {
      if (event.target === this.port && !this.running) this.forgetPort(kPortGone);
    });
  }

  private switchOff(why: string): void {
    const off = this.find('device-off');
    off.textContent = why;
    off.hidden = false;
    for (const control of this.root.querySelectorAll<HTMLElement>('.device-controls, .device-exchange'))
      control.hidden = true;
  }

  private async connect(): Promise<void> {
    const chosen = await choosePort();
    if ('port' in chosen) {
      this.port = chosen.port;
      this.core.serialLink.use(chosen.port);
      this.find('device-port').textContent = `Port: ${portName(chosen.port)} (opened for each operation)`;
      this.say('', true);
    } else if ('hint' in chosen) {
      this.say(chosen.hint, true);
    } else {
      this.say(chosen.error, false);
    }
    this.updateControls();
  }

  private forgetPort(why: string): void {
    this.port = undefined;
    this.find('device-port').textContent = 'No port chosen';
    this.say(why, false);
    this.updateControls();
  }

  private updateControls(): void {
    for (const id of ['device-read', 'device-write', 'device-compare'])
      this.find<HTMLButtonElement>(id).disabled = this.running || !this.port;
    this.find<HTMLButtonElement>('device-connect').disabled = this.running;
    this.find<HTMLInputElement>('device-verify').disabled = this.running;
    this.find('device-cancel').hidden = !this.running;
  }

  // One operation at a time; the editor waits until it has ended.
  private async run(what: string, operation: (progress: Progress) => Promise<Outcome>): Promise<void> {
    if (this.running) return;
    if (!this.port) {
      this.say(kNoPort, false);
      return;
    }
    this.running = true;
    this.root.dataset.running = what;
    const cancel = this.find<HTMLButtonElement>('device-cancel');
    cancel.disabled = false;
    this.updateControls();
    this.host.busy(true);
    this.showProgress(0, `${what}: opening the port`);
    this.say('', true);
    cancel.focus();
    let outcome: Outcome;
    try {
      outcome = await operation((percent, text) => this.showProgress(percent, text));
    } catch (error) {
      outcome = { ok: false, message: `${what} failed: ${String(error)}` };
    }
    this.running = false;
    delete this.root.dataset.running;
    this.find<HTMLElement>('device-progress').parentElement!.hidden = true;
    this.host.busy(false);
    this.updateControls();
    this.say(outcome.message, outcome.ok);
    this.showExchange();
    // A port that went away is no longer there to use: Connect picks it (or another) again.
    if (this.core.serialLink.lost) {
      this.port = undefined;
      this.find('device-port').textContent = 'No port chosen (the last one went away)';
      this.updateControls();
    }
    const again = this.find<HTMLButtonElement>(`device-${what.toLowerCase()}`);
    (again.disabled ? this.find<HTMLButtonElement>('device-connect') : again).focus();
  }

  private cancel(): void {
    this.core.serialLink.requestStop();
    this.find<HTMLButtonElement>('device-cancel').disabled = true;
    this.find('device-progress-text').textContent = 'Stopping after the command on its way…';
  }

  private showProgress(percent: number, text: string): void {
    const bar = this.find<HTMLProgressElement>('device-progress');
    bar.parentElement!.hidden = false;
    bar.value = percent;
    this.find('device-progress-text').textContent = text;
  }

  private say(message: string, ok: boolean): void {
    const line = this.find('device-message');
    line.textContent = message;
    line.classList.toggle('error', !ok && message !== '');
  }

  private exchangeReport(): string {
    const header = [
      `zq70web ${this.version}, ${new Date().toISOString()}`,
      `Browser: ${navigator.userAgent}`,
      `Port: ${this.port ? portName(this.port) : 'none'}`,
      `Outcome: ${this.find('device-message').textContent}`,
      '',
    ];
    return header.join('\n') + this.core.serialLink.exchangeText() + '\n';
  }

  private showExchange(): void {
    this.find('device-log').textContent = this.exchangeReport();
    this.find<HTMLButtonElement>('device-copy').disabled = false;
  }

  private async copyExchange(): Promise<void> {
    const text = this.find('device-log').textContent ?? '';
    try {
      await navigator.clipboard.writeText(text);
      this.say('The last exchange is on the clipboard.', true);
    } catch {
      // No clipboard access: select the text so that Ctrl+C copies it.
      const range = document.createRange();
      range.selectNodeContents(this.find('device-log'));
      window.getSelection()?.removeAllRanges();
      window.getSelection()?.addRange(range);
      this.say('The last exchange is selected: copy it with Ctrl+C.', true);
    }
  }
}

export function mountDevicePanel(container: HTMLElement, host: DeviceHost, core: Core): void {
  new DevicePanel(container, host, core, core.version());
}
