// Read, Write (with its read-back) and Compare with the device, each one operation of the
// core's serial protocol on the chosen port, ending in one message in zq70cfg's words. A read
// that fails, or gives bytes the decoder refuses, leaves the editor as it was.
import type { CoreModule, TransferResult } from '../../core/core';
import type { DeviceHost } from './index';
import {
  kCompareDone,
  kCompareNotValid,
  kNotValid,
  kPortInUse,
  kReadDone,
  kWrittenUnverified,
  kWrittenVerified,
} from './messages';

export type DeviceCore = Pick<CoreModule, 'serialRead' | 'serialWrite' | 'serialLink' | 'decodeImage'>;

export interface Outcome {
  ok: boolean;
  message: string;
}

// Percent of the whole operation, and the text to show, for each progress line.
export type Progress = (percent: number, text: string) => void;

// Every redrawn frame of the page is time taken from the transfer, whose pumps are 2 ms
// each: the bar moves a few times a second, not at each of the hundred percentages.
const kProgressIntervalMs = 200;

function progressOf(progress: Progress, passes: number): (text: string, pass: number) => void {
  let shown = -Infinity;
  return (text, pass) => {
    const now = performance.now();
    if (now - shown < kProgressIntervalMs) return;
    shown = now;
    const match = /(\d+)%/.exec(text);
    const percent = match ? Number(match[1]) : 0;
    progress((pass * 100 + percent) / passes, pass > 0 ? `Verify: ${text}` : text);
  };
}

// A transfer that went wrong, as zq70cfg says it; a port in use says so.
function failure(core: DeviceCore, result: TransferResult): Outcome {
  const inUse = ['InvalidStateError', 'NetworkError'].includes(core.serialLink.openError);
  if (result.outcome === 'openFailed' && inUse) return { ok: false, message: kPortInUse };
  return { ok: false, message: result.message };
}

// Whether the decoder takes the bytes, without keeping what it made of them.
function decodes(core: DeviceCore, bytes: Uint8Array): boolean {
  const config = core.decodeImage(bytes);
  config?.delete();
  return config !== null;
}

export async function readDevice(core: DeviceCore, host: DeviceHost, progress: Progress): Promise<Outcome> {
  core.serialLink.begin('Read');
  const result = await core.serialRead(progressOf(progress, 1));
  if (result.outcome !== 'ok' || !result.bytes) return failure(core, result);
  if (!decodes(core, result.bytes)) return { ok: false, message: kNotValid };
  const reason = host.takeImage(result.bytes);
  return reason === undefined ? { ok: true, message: kReadDone } : { ok: false, message: reason };
}

export async function compareWithDevice(core: DeviceCore, host: DeviceHost, progress: Progress): Promise<Outcome> {
  core.serialLink.begin('Read to compare');
  const result = await core.serialRead(progressOf(progress, 1));
  if (result.outcome !== 'ok' || !result.bytes) return failure(core, result);
  if (!decodes(core, result.bytes)) return { ok: false, message: kCompareNotValid };
  host.compareWith(result.bytes);
  return { ok: true, message: kCompareDone };
}

export async function writeDevice(
  core: DeviceCore,
  host: DeviceHost,
  verify: boolean,
  progress: Progress,
): Promise<Outcome> {
  const image = host.image();
  // The encoder's refusal ("Error: Pin A is used for multiple scan lines"): nothing is sent.
  if (!image.bytes) return { ok: false, message: image.refusal ?? 'nothing to write' };
  core.serialLink.begin(verify ? 'Write with verify' : 'Write');
  const result = await core.serialWrite(image.bytes, verify, progressOf(progress, verify ? 2 : 1));
  if (result.outcome !== 'ok') return failure(core, result);
  return { ok: true, message: verify ? kWrittenVerified : kWrittenUnverified };
}
