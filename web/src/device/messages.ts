// The device panel's own words: what the page says about the browser and the port chooser.
// What a transfer says comes from the core, in zq70cfg's words.

// Why the device area is off, in one sentence, and what to use instead.
export const kNotSecure =
  'Reading and writing a ZQ70 is off because this page was not opened from disk or over https ' +
  '(the browser allows serial ports only there): open it so in Chrome or Edge, or use zq70cfg ' +
  'or the Windows program.';
export const kNoWebSerial =
  'Reading and writing a ZQ70 is off because this browser has no Web Serial: use Chrome or Edge ' +
  '(89 or later) on a desktop computer, zq70cfg, or the Windows program; editing works here ' +
  'all the same.';

// After a chooser that gave no port. Chromium says the same (NotFoundError) when the user
// closed it and when it listed nothing, so this is a hint, not an error.
export const kNoPortHint =
  'No port chosen. If the list was empty: check the cable and the USB serial driver, and on ' +
  'Linux that your user is in the dialout group (then log in again).';
export const kChooserBlocked =
  'This browser does not let the page use serial ports (a policy or a permission blocks it).';

export const kPortInUse =
  'cannot open the serial port: it is in use, by another program or by this page in another tab';
export const kPortGone = 'The chosen serial port went away (unplugged?): connect again.';
export const kNoPort = 'Choose a serial port first (Connect).';

export const kReadDone = 'Read from the ZQ70 into the editor';
export const kCompareDone = 'Read from the ZQ70 for the comparison; the editor is unchanged';
export const kWrittenVerified = 'Written to the ZQ70 and verified';
export const kWrittenUnverified = 'Written to the ZQ70 (not verified)';
export const kNotValid =
  'the ZQ70 holds no valid configuration; the configuration on screen was not changed';
export const kCompareNotValid = 'the ZQ70 holds no valid configuration; nothing to compare';
