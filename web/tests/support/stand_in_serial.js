// A stand-in for the Web Serial API, for tests in Node and in the page (installed there by
// addInitScript): ports that behave as Chromium's do where the page can tell (open twice
// fails, close needs the streams unlocked, a disconnect event and a failing read when the
// port goes away), wired to a device that the test supplies:
//   port.transmit = (bytes) => { ... }   called with every chunk the page writes
//   port.deliver(bytes)                  what the device answers
(function install(scope) {
  class StandInPort extends EventTarget {
    constructor(info = {}) {
      super();
      this.info = info;
      this.readable = null;
      this.writable = null;
      this.transmit = () => {};
      this.signals = null;
      this.opens = 0;
      this.openError = null; // a DOMException name: the next open fails with it
    }

    getInfo() {
      return this.info;
    }

    async open(options) {
      this.opens += 1;
      if (this.openError) throw new DOMException('The port cannot be opened', this.openError);
      if (this.readable || this.writable) throw new DOMException('The port is already open', 'InvalidStateError');
      if (options.baudRate !== 9600) throw new TypeError('unexpected baud rate ' + options.baudRate);
      this.options = options;
      this.readable = new ReadableStream({ start: (controller) => { this.controller = controller; } });
      this.writable = new WritableStream({ write: (chunk) => this.transmit(Uint8Array.from(chunk)) });
    }

    async setSignals(signals) {
      if (!this.writable) throw new DOMException('The port is closed', 'InvalidStateError');
      this.signals = signals;
    }

    deliver(bytes) {
      if (this.controller && !this.gone) this.controller.enqueue(Uint8Array.from(bytes));
    }

    async close() {
      if ((this.readable && this.readable.locked) || (this.writable && this.writable.locked))
        throw new TypeError('Cannot close a port with locked streams');
      this.readable = null;
      this.writable = null;
      this.controller = null;
      this.closed = (this.closed || 0) + 1;
    }

    // The cable pulled: the read fails, the port says it is gone.
    unplug() {
      this.gone = true;
      if (this.controller) this.controller.error(new DOMException('The device has been lost.', 'NetworkError'));
      this.dispatchEvent(new Event('disconnect'));
    }
  }

  class StandInSerial extends EventTarget {
    constructor() {
      super();
      this.ports = [];
      this.chooser = 'first'; // 'first', 'cancel' (the user closed it) or 'empty' (no port)
    }

    async requestPort() {
      if (this.chooser === 'cancel' || this.chooser === 'empty' || this.ports.length === 0)
        throw new DOMException('No port selected by the user.', 'NotFoundError');
      return this.ports[0];
    }

    async getPorts() {
      return this.ports.slice();
    }
  }

  scope.StandInPort = StandInPort;
  scope.StandInSerial = StandInSerial;
})(globalThis);
