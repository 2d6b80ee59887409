// Whether this browser offers Web Serial, and asking it for a port.
import type { WebSerialPort } from '../../core/core';
import { kChooserBlocked, kNoPortHint, kNotSecure, kNoWebSerial } from './messages';

interface Serial extends EventTarget {
  requestPort(options?: object): Promise<WebSerialPort>;
}

export function webSerial(): Serial | undefined {
  return (navigator as Navigator & { serial?: Serial }).serial;
}

// The sentence that says why the device area is off, or undefined when it works.
export function whyOff(): string | undefined {
  if (!window.isSecureContext) return kNotSecure;
  if (!webSerial()) return kNoWebSerial;
  return undefined;
}

export type Chosen = { port: WebSerialPort } | { hint: string } | { error: string };

// The browser's port chooser. A closed chooser rejects with NotFoundError, as does one that
// listed no port: the answer is then a quiet hint.
export async function choosePort(): Promise<Chosen> {
  const serial = webSerial();
  if (!serial) return { error: kNoWebSerial };
  try {
    return { port: await serial.requestPort() };
  } catch (error) {
    const name = error instanceof Error ? error.name : '';
    if (name === 'NotFoundError' || name === 'AbortError') return { hint: kNoPortHint };
    if (name === 'SecurityError') return { error: kChooserBlocked };
    return { error: `The port chooser failed: ${String(error)}` };
  }
}

// "USB 1A86:7523" for a USB adapter, else "a serial port".
export function portName(port: WebSerialPort): string {
  const info = port.getInfo();
  const hex = (n: number) => n.toString(16).toUpperCase().padStart(4, '0');
  if (info.usbVendorId === undefined) return 'a serial port';
  return `USB ${hex(info.usbVendorId)}:${hex(info.usbProductId ?? 0)}`;
}
