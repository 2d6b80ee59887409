// The device tests' line to a real serial protocol partner: zq70sim on a pseudo-terminal,
// reached from the page's stand-in Web Serial port through a local WebSocket. Each
// connection opens the terminal raw at 9600 8N1 (as a real port would be), passes the bytes
// both ways unchanged, and closes it when the socket closes.
import { execFileSync, spawn, type ChildProcess } from 'node:child_process';
import { constants, openSync, readFileSync, writeSync } from 'node:fs';
import { join } from 'node:path';
import { ReadStream } from 'node:tty';
import { WebSocketServer, type WebSocket } from 'ws';
import { root } from './page.js';

const zq70simPath = process.env.ZQ70SIM ?? join(root, 'build/native/sim/zq70sim');

export interface Sim {
  pty: string;
  process: ChildProcess;
  signal(name: 'SIGUSR1' | 'SIGUSR2'): void;
  stop(): Promise<void>;
}

// zq70sim with the given options; resolves once it has printed its terminal's path.
export function startSim(...options: string[]): Promise<Sim> {
  const child = spawn(zq70simPath, options, { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let out = '';
    child.once('error', reject);
    child.once('exit', (code) => reject(new Error(`zq70sim ended (${code}) before it was ready`)));
    child.stdout!.on('data', (data: Buffer) => {
      out += data.toString();
      const newline = out.indexOf('\n');
      if (newline < 0) return;
      child.removeAllListeners('exit');
      resolve({
        pty: out.slice(0, newline).trim(),
        process: child,
        signal: (name) => child.kill(name),
        stop: () =>
          new Promise((done) => {
            if (child.exitCode !== null) return done();
            child.once('exit', () => done());
            child.kill('SIGTERM');
          }),
      });
    });
  });
}

export interface Bridge {
  url: string;
  // Ends every open connection, as a USB adapter pulled out ends the port.
  drop(): void;
  close(): Promise<void>;
}

function openLine(pty: string): { fd: number; input: ReadStream } {
  const fd = openSync(pty, constants.O_RDWR | constants.O_NOCTTY);
  return { fd, input: new ReadStream(fd) };
}

export async function startBridge(pty: string): Promise<Bridge> {
  // Raw 9600 8N1 once: the terminal keeps its settings while zq70sim holds its other side.
  execFileSync('stty', ['-F', pty, 'raw', '-echo', '9600', 'cs8', '-parenb', '-cstopb', 'clocal']);
  // The terminal is opened before the page learns that its socket is open, so that no byte
  // it sends waits for the opening and no answer comes late.
  const lines = new Map<unknown, ReturnType<typeof openLine>>();
  const server = new WebSocketServer({
    host: '127.0.0.1',
    port: 0,
    verifyClient: (info, accept) => {
      lines.set(info.req, openLine(pty));
      accept(true);
    },
  });
  await new Promise((resolve) => server.once('listening', resolve));
  const sockets = new Set<WebSocket>();
  server.on('connection', (socket, request) => {
    const line = lines.get(request)!;
    lines.delete(request);
    sockets.add(socket);
    line.input.on('data', (data: Buffer) => socket.send(data));
    line.input.on('error', () => socket.terminate());
    socket.on('message', (data: Buffer) => writeSync(line.fd, data));
    socket.on('close', () => {
      sockets.delete(socket);
      line.input.destroy(); // closes the terminal
    });
  });
  const address = server.address();
  const port = typeof address === 'object' && address ? address.port : 0;
  return {
    url: `ws://127.0.0.1:${port}`,
    drop: () => {
      for (const socket of sockets) socket.terminate();
    },
    close: () =>
      new Promise((resolve) => {
        for (const socket of sockets) socket.terminate();
        server.close(() => resolve());
      }),
  };
}

// What the page runs before its own script: the stand-in Web Serial API with one USB port
// whose bytes go through the bridge at url, installed as navigator.serial. window.standIn
// lets a test reach it: its port, its chooser, and the bridge's own round trip.
export function bridgedSerialScript(url: string): string {
  const standIn = readFileSync(join(root, 'web/tests/support/stand_in_serial.js'), 'utf8');
  return `${standIn}
(() => {
  const serial = new StandInSerial();
  const port = new StandInPort({ usbVendorId: 0x1a86, usbProductId: 0x7523 });
  let socket = null;
  const connect = () => new Promise((resolve, reject) => {
    const ws = new WebSocket(${JSON.stringify(url)});
    ws.binaryType = 'arraybuffer';
    ws.onopen = () => resolve(ws);
    ws.onerror = () => reject(new DOMException('The bridge is not there', 'NetworkError'));
  });
  const open = port.open.bind(port);
  port.open = async (options) => {
    await open(options);
    if (socket === null) {
      socket = await connect();
      socket.onmessage = (event) => port.deliver(new Uint8Array(event.data));
      socket.onclose = () => port.unplug();
    }
  };
  port.transmit = (bytes) => socket.send(bytes);
  serial.ports.push(port);
  Object.defineProperty(Navigator.prototype, 'serial', { get: () => serial, configurable: true });
  // The bridge's own round trip (page, WebSocket, terminal, zq70sim and back), on a
  // connection of its own while the page's port is closed: the mean of n reads of byte 0,
  // after as many to warm up. With pauseMs, each read comes after that idle pause, as in a
  // transfer, where the bridge and zq70sim wake up for every command; only the time from
  // sending to the answer counts.
  const roundTrip = async (n, pauseMs = 0) => {
    const ws = await connect();
    const answers = [];
    ws.onmessage = (event) => answers.shift()?.(event.data);
    const reads = async (count) => {
      let total = 0;
      for (let i = 0; i < count; i++) {
        if (pauseMs > 0) await new Promise((resolve) => setTimeout(resolve, pauseMs));
        const started = performance.now();
        await new Promise((resolve) => { answers.push(resolve); ws.send(Uint8Array.of(0x52, 0, 0)); });
        total += performance.now() - started;
      }
      return total / count;
    };
    await reads(n);
    const ms = await reads(n);
    ws.close();
    return ms;
  };
  window.standIn = { serial, port, roundTrip };
})();`;
}
