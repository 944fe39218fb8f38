// A static server for the site on 127.0.0.1, for a local look (scripts/web
// serve) and for the page's tests. Any static web host serves the site as well.
//   node serve.mjs SITE_FOLDER [PORT]
import { createServer } from 'node:http';
import { existsSync, readFileSync, statSync } from 'node:fs';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.actions': 'text/plain',
};

// Starts serving folder; resolves to the server once it listens (port 0: any
// free port, server.address().port tells which).
export function serveSite(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    let path;
    try {
      path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    } catch {
      response.writeHead(400).end();
      return;
    }
    const file = join(root, path.endsWith('/') ? join(path, 'index.html') : path);
    if ((file !== root && !file.startsWith(root + sep)) || !existsSync(file) ||
        !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
    response.end(readFileSync(file));
  });
  return new Promise((resolveServer) => server.listen(port, '127.0.0.1', () => resolveServer(server)));
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8080'] = process.argv.slice(2);
  const server = await serveSite(folder, Number(port));
  const base = `http://127.0.0.1:${server.address().port}/`;
  console.log(`Wandrix: ${base}  (the demonstration: ${base}?demo; Ctrl+C stops)`);
}
