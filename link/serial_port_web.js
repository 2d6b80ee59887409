// The browser's half of the Web Serial port (serial_port_web.cpp): one SerialPort of the Web
// Serial API that the page had the user pick, opened for one transfer at a time.
//
// - The bytes of a command are sent together when its answer is awaited: one write per
//   command, as the POSIX port does it.
// - A reader loop takes what arrives into a queue and wakes the receive that waits for it;
//   one timer is that receive's deadline. Nothing polls. (A hidden page's timers may fire
//   late; the answer awaited then still counts, as it would on a busy computer's port.)
// - A port that goes away (a disconnect event, a read or write error) makes every later
//   receive fail at once.
// - The 2 ms pump before each command yields to the page through a MessageChannel until the
//   time has passed: browsers clamp nested timers to 4 ms and a hidden page's to about a
//   second, but not messages.
// - The last exchange (commands, answers, events) is kept for a bug report.

class ZQ70SerialLink {
  constructor() {
    this.port = null;
    this.stopRequested = false;
    this.lost = false;
    this.openError = '';
    this.channel = new MessageChannel();
    this.lastLook = new MessageChannel();
    this.clear();
  }

  // The port the user picked, used by every transfer from now on.
  use(port) {
    this.port = port;
  }

  // Starts the record of a new operation ("Read", "Write with verify").
  begin(what) {
    this.stopRequested = false;
    this.log = [];
    this.started = performance.now();
    this.note(what);
  }

  requestStop() {
    this.stopRequested = true;
  }

  clear() {
    this.isOpen = false;
    this.closing = false;
    this.reader = null;
    this.writer = null;
    this.reading = null;
    this.queue = [];
    this.outgoing = [];
    this.waiter = null;
    this.log = this.log || [];
  }

  note(text) {
    this.log.push({ at: performance.now() - (this.started || 0), text });
  }

  async open() {
    this.clear();
    this.lost = false;
    this.openError = '';
    if (!this.port) {
      this.openError = 'NotFoundError';
      return 0;
    }
    try {
      await this.port.open({ baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none',
                             flowControl: 'none' });
    } catch (error) {
      this.openError = error && error.name ? error.name : String(error);
      this.note('open failed: ' + this.openError);
      return 0;
    }
    this.isOpen = true;
    this.onDisconnect = () => this.goneAway('disconnected');
    this.port.addEventListener('disconnect', this.onDisconnect);
    this.note('opened, 9600 8N1, no flow control');
    return 1;
  }

  async configure() {
    try {
      await this.port.setSignals({ dataTerminalReady: false, requestToSend: false });
    } catch (error) {
      // A port without modem lines has none to take off.
      this.note('DTR and RTS not set: ' + (error && error.name));
    }
    if (!this.port.readable || !this.port.writable) return 0;
    this.writer = this.port.writable.getWriter();
    this.reading = this.readLoop();
    return 1;
  }

  async readLoop() {
    while (this.isOpen && !this.closing && this.port.readable) {
      const reader = this.port.readable.getReader();
      this.reader = reader;
      let fatal = false;
      try {
        for (;;) {
          const { value, done } = await reader.read();
          if (done) {
            fatal = !this.closing;
            break;
          }
          if (value) this.arrived(value);
        }
      } catch (error) {
        // Line errors leave the port usable with a new reader; anything else ends it.
        const name = error && error.name;
        fatal = !['BreakError', 'FramingError', 'ParityError', 'BufferOverrunError'].includes(name);
        this.note('read error: ' + name);
      } finally {
        reader.releaseLock();
        this.reader = null;
      }
      if (fatal) {
        this.goneAway('the read stream ended');
        return;
      }
    }
  }

  arrived(bytes) {
    for (const byte of bytes) this.queue.push(byte);
    if (this.waiter && this.queue.length > 0) this.waiter.settle(this.queue.shift());
  }

  goneAway(why) {
    if (this.lost || this.closing) return;
    this.lost = true;
    this.note('port gone: ' + why);
    if (this.waiter) this.waiter.settle(-1);
  }

  send(byte) {
    this.outgoing.push(byte);
  }

  flush() {
    if (this.outgoing.length === 0) return;
    const bytes = Uint8Array.from(this.outgoing);
    this.outgoing = [];
    this.sent = bytes;
    this.sentAt = performance.now();
    if (!this.writer || this.lost) return;
    this.writer.write(bytes).catch((error) => this.goneAway('write failed: ' + (error && error.name)));
  }

  // The next byte, or -1 when none comes within the limit of a one-byte read whose three
  // read time-outs are timeoutMs (twice timeoutMs: 72 ms for the protocol's 36).
  receive(timeoutMs) {
    this.flush();
    const sent = this.sent;
    this.sent = null;
    const sentAt = this.sentAt;
    const record = (answer) => {
      const now = performance.now();
      this.log.push({ at: now - this.started, sent, answer, waited: now - sentAt });
      return answer;
    };
    if (this.lost) return Promise.resolve(record(-1));
    if (this.queue.length > 0) return Promise.resolve(record(this.queue.shift()));
    return new Promise((resolve) => {
      const waiter = {
        settle: (answer) => {
          clearTimeout(waiter.timer);
          this.waiter = null;
          resolve(record(answer));
        },
      };
      // When the deadline comes the page may have been too busy to take in what arrived
      // meanwhile: one more turn of the event loop lets it, as a port's own buffer would
      // have kept the byte.
      waiter.timer = setTimeout(() => {
        this.lastLook.port1.onmessage = () => {
          if (this.waiter === waiter) waiter.settle(this.queue.length > 0 ? this.queue.shift() : -1);
        };
        this.lastLook.port2.postMessage(0);
      }, 2 * timeoutMs);
      this.waiter = waiter;
    });
  }

  discard() {
    if (this.queue.length > 0) this.note('dropped ' + this.queue.length + ' stale bytes');
    this.queue = [];
  }

  async close() {
    if (!this.isOpen) return;
    // Bytes of a command whose answer was never awaited (the transfer was stopped before
    // it) stay unsent: only whole commands reach the device.
    if (this.outgoing.length > 0) this.note('not sent: ' + this.outgoing.length + ' bytes');
    this.outgoing = [];
    this.closing = true;
    if (this.waiter) this.waiter.settle(-1);
    try {
      if (this.reader) await this.reader.cancel();
    } catch (error) {
      // already broken: nothing left to cancel
    }
    try {
      await this.reading;
    } catch (error) {
      // the loop has ended either way
    }
    if (this.writer) {
      try {
        await this.writer.close();
      } catch (error) {
        // a lost port cannot flush; the lock is given back below all the same
      }
      try {
        this.writer.releaseLock();
      } catch (error) {
        // released by the failed close
      }
    }
    try {
      await this.port.close();
    } catch (error) {
      this.note('close failed: ' + (error && error.name));
    }
    this.port.removeEventListener('disconnect', this.onDisconnect);
    this.isOpen = false;
    this.note('closed');
  }

  pump(ms) {
    const deadline = performance.now() + ms;
    return new Promise((resolve) => {
      const step = () => {
        if (this.stopRequested || performance.now() >= deadline) resolve();
        else this.channel.port2.postMessage(0);
      };
      this.channel.port1.onmessage = step;
      step();
    });
  }

  // The last exchange as text, one command a line: time, bytes sent, the answer and how
  // long it took to come.
  exchangeText() {
    const hex = (b) => b.toString(16).toUpperCase().padStart(2, '0');
    const lines = [];
    for (const entry of this.log) {
      const at = entry.at.toFixed(1).padStart(9) + ' ms  ';
      if (entry.text !== undefined) {
        lines.push(at + entry.text);
        continue;
      }
      const sent = entry.sent ? Array.from(entry.sent, hex).join(' ') : '';
      const answer = entry.answer < 0 ? 'no answer' : hex(entry.answer);
      lines.push(at + sent.padEnd(12) + '-> ' + answer.padEnd(11) + entry.waited.toFixed(2) + ' ms');
    }
    return lines.join('\n');
  }
}

Module['serialLink'] = new ZQ70SerialLink();
