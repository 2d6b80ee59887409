// A page that is really hidden: Debian's Chromium with a window, on a virtual display
// (Xvfb) with a window manager (openbox), minimised by xdotool as a user would minimise it.
// The browser then throttles the page as it throttles any hidden page: its chained timers
// fire about once a second. Driven over the DevTools protocol directly: a page under
// Playwright stays visible however its window is hidden.
import { execFileSync, spawn, type ChildProcess } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import WebSocket from 'ws';

interface Display {
  env: NodeJS.ProcessEnv;
  stop(): void;
}

function stopped(child: ChildProcess): void {
  if (child.exitCode === null) child.kill('SIGTERM');
}

// Xvfb on a free display number, and openbox on it.
export async function startDisplay(): Promise<Display> {
  const xvfb = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], {
    stdio: ['ignore', 'pipe', 'ignore'],
  });
  const number = await new Promise<string>((resolve, reject) => {
    xvfb.once('exit', () => reject(new Error('Xvfb did not start')));
    xvfb.stdout!.once('data', (data: Buffer) => resolve(data.toString().trim()));
  });
  const env = { ...process.env, DISPLAY: `:${number}` };
  const manager = spawn('openbox', [], { env, stdio: 'ignore' });
  await new Promise((resolve) => setTimeout(resolve, 500));
  return {
    env,
    stop: () => {
      stopped(manager);
      stopped(xvfb);
    },
  };
}

export interface RawPage {
  // The value of a JavaScript expression in the page (promises awaited).
  evaluate<T>(expression: string): Promise<T>;
  minimise(): Promise<void>;
  close(): Promise<void>;
}

// Opens url in a Chromium window on the display, with init run before the page's script.
export async function openWindow(display: Display, url: string, init: string): Promise<RawPage> {
  const profile = mkdtempSync(join(tmpdir(), 'zq70web-chromium-'));
  const browser = spawn(
    process.env.CHROMIUM ?? '/usr/bin/chromium',
    ['--no-sandbox', `--user-data-dir=${profile}`, '--no-first-run', '--no-default-browser-check',
     '--remote-debugging-port=0', '--window-size=1200,900', 'about:blank'],
    { env: display.env, stdio: ['ignore', 'ignore', 'pipe'] },
  );
  const endpoint = await new Promise<string>((resolve, reject) => {
    let err = '';
    browser.once('exit', () => reject(new Error('Chromium ended: ' + err)));
    browser.stderr!.on('data', (data: Buffer) => {
      err += data.toString();
      const found = /DevTools listening on ws:\/\/([^/]+)\//.exec(err);
      if (found) resolve(found[1]!);
    });
  });
  const targets = (await (await fetch(`http://${endpoint}/json/list`)).json()) as { type: string; webSocketDebuggerUrl: string }[];
  const socket = new WebSocket(targets.find((t) => t.type === 'page')!.webSocketDebuggerUrl);
  await new Promise((resolve) => socket.once('open', resolve));
  let next = 0;
  const waiting = new Map<number, (reply: { result?: any; error?: { message: string } }) => void>();
  socket.on('message', (data: Buffer) => {
    const reply = JSON.parse(data.toString());
    waiting.get(reply.id)?.(reply);
    waiting.delete(reply.id);
  });
  const send = (method: string, params: object = {}) =>
    new Promise<any>((resolve, reject) => {
      const id = ++next;
      waiting.set(id, (reply) => (reply.error ? reject(new Error(reply.error.message)) : resolve(reply.result)));
      socket.send(JSON.stringify({ id, method, params }));
    });
  const evaluate = async <T>(expression: string): Promise<T> => {
    const { result, exceptionDetails } = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
    return result.value as T;
  };
  await send('Page.enable');
  await send('Page.addScriptToEvaluateOnNewDocument', { source: init });
  await send('Page.navigate', { url });
  const ready = () => evaluate<boolean>(`document.documentElement.dataset.ready === 'true'`).catch(() => false);
  for (let waited = 0; !(await ready()); waited += 50) {
    if (waited > 60000) throw new Error(`${url} was not ready within a minute`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return {
    evaluate,
    minimise: async () => {
      const title = await evaluate<string>('document.title');
      const windows = execFileSync('xdotool', ['search', '--sync', '--name', title], { env: display.env })
        .toString().trim().split('\n');
      for (const window of windows) execFileSync('xdotool', ['windowminimize', '--sync', window], { env: display.env });
    },
    close: async () => {
      socket.close();
      stopped(browser);
      await new Promise((resolve) => (browser.exitCode !== null ? resolve(0) : browser.once('exit', resolve)));
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Clicks Connect (the stand-in chooser picks its port) and waits until Read is offered.
export function connect(page: RawPage): Promise<void> {
  return page.evaluate(`new Promise((resolve) => {
    document.getElementById('device-connect').click();
    const offered = () => (document.getElementById('device-read').disabled ? setTimeout(offered, 20) : resolve());
    offered();
  })`);
}

// Clicks a button of the device panel and gives the operation's message and duration once
// it has ended.
export function operate(page: RawPage, button: string): Promise<{ message: string; ms: number }> {
  return page.evaluate(`new Promise((resolve, reject) => {
    const panel = document.querySelector('.device-panel');
    const control = document.getElementById('${button}');
    if (control.disabled) return reject(new Error('${button} is disabled'));
    const started = performance.now();
    new MutationObserver((_, observer) => {
      if (panel.hasAttribute('data-running')) return;
      observer.disconnect();
      resolve({ message: document.getElementById('device-message').textContent, ms: performance.now() - started });
    }).observe(panel, { attributes: true });
    control.click();
  })`);
}

// How long n chained 2 ms timers take in the page: a few milliseconds each when it is
// visible, about a second each from the fifth on once it is throttled as a hidden page.
export function chainedTimersMs(page: RawPage, n: number): Promise<number> {
  return page.evaluate<number>(`(async () => {
    const started = performance.now();
    for (let i = 0; i < ${n}; i++) await new Promise((resolve) => setTimeout(resolve, 2));
    return performance.now() - started;
  })()`);
}
