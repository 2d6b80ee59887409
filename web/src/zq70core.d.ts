// The core module that the web preset builds (build/web/web/zq70core.js), found through the
// alias "zq70core" of vite.config.ts.
declare module 'zq70core' {
  const createCore: () => Promise<import('./core').Core>;
  export default createCore;
}
