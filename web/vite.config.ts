// The page as one file: script, styles, icon and the core module (WebAssembly inside) inlined
// into zq70web.html, which opens from disk or any static server with no network at all.
import { fileURLToPath } from 'node:url';
import { defineConfig, type Plugin } from 'vite';
import { viteSingleFile } from 'vite-plugin-singlefile';

const here = (path: string) => fileURLToPath(new URL(path, import.meta.url));

// Vite names the page after its source; the release calls it zq70web.html.
function pageName(name: string): Plugin {
  return {
    name: 'zq70-page-name',
    enforce: 'post',
    generateBundle(_options, bundle) {
      const page = bundle['index.html'];
      if (page) page.fileName = name;
    },
  };
}

export default defineConfig({
  base: './',
  resolve: {
    alias: {
      // Built by the web preset (make web-core); ZQ70_CORE points elsewhere when wanted.
      zq70core: process.env.ZQ70_CORE ?? here('../build/web/web/zq70core.js'),
    },
  },
  build: {
    outDir: process.env.ZQ70_PAGE_DIR ?? here('../build/web/page'),
    emptyOutDir: true,
    target: 'es2022',
    assetsInlineLimit: Number.MAX_SAFE_INTEGER,
    chunkSizeWarningLimit: 2048,
    reportCompressedSize: false,
  },
  plugins: [viteSingleFile({ removeViteModuleLoader: true }), pageName('zq70web.html')],
});
