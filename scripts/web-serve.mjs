// Serves the built page on a free localhost port and says where: the page needs no server,
// but some browsers offer more (and every one the same) to a page from http://localhost.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { basename, join } from 'node:path';

const folder = process.argv[2] ?? 'build/web/page';
const page = 'zq70web.html';
const port = Number(process.env.PORT ?? 0);

const server = createServer(async (request, response) => {
  const path = new URL(request.url ?? '/', 'http://localhost').pathname;
  if (path !== '/' && basename(path) !== page) {
    response.writeHead(404).end('Not found');
    return;
  }
  try {
    const body = await readFile(join(folder, page));
    response.writeHead(200, { 'content-type': 'text/html; charset=utf-8', 'cache-control': 'no-store' });
    response.end(body);
  } catch {
    response.writeHead(500).end(`No ${page} in ${folder}: run make web`);
  }
});
server.listen(port, '127.0.0.1', () => {
  const { port: chosen } = server.address();
  console.log(`zq70web: http://127.0.0.1:${chosen}/${page}  (Ctrl+C stops)`);
});
