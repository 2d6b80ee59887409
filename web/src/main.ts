// Start: the core module (WebAssembly, inside this file), then the page.
import { App } from './app';
import { loadCore } from './core';
import icon from './icon.svg';
import './styles.css';

// The icon travels inside the page as a data URL, like everything else.
document.getElementById('icon')?.setAttribute('href', icon);
document.getElementById('logo')?.setAttribute('src', icon);

loadCore()
  .then((core) => {
    performance.mark('zq70-core');
    new App(core);
    document.documentElement.dataset.ready = 'true';
    performance.mark('zq70-ready');
  })
  .catch((error: unknown) => {
    const message = document.getElementById('status');
    if (message) message.textContent = `The page could not start: ${String(error)}`;
    throw error;
  });
