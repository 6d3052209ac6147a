// Serves the browser build's page on 127.0.0.1, and, for the browser test, receives what the page
// captures (src/app/web/page_capture.h) into a folder as the native capture writes it:
// frame_NNNNNN.png and audio.wav.
//
//   node tools/web/serve.mjs FOLDER [--port N]     serve FOLDER until interrupted; prints the address
//
// As a module: startServer({root, files, captureDir}) -> {url, close(), exited: Promise<code>}.
// Only files inside the root (or named in `files`) are served, and only to this machine.

import {createServer} from 'node:http';
import {promises as fs, createReadStream} from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// PNG: 8-bit RGB rows, filter 0, a fast zlib level (the frames are compared, not kept).
const crcTable = new Int32Array(256).map((_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c;
});

function crc32(bytes) {
  let c = -1;
  for (const b of bytes) c = crcTable[(c ^ b) & 255] ^ (c >>> 8);
  return (c ^ -1) >>> 0;
}

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}

export function encodePng(rgb, width, height) {
  const rows = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; ++y) rgb.copy(rows, y * (width * 3 + 1) + 1, y * width * 3, (y + 1) * width * 3);
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;  // bits per channel
  header[9] = 2;  // RGB
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), chunk('IHDR', header),
                        chunk('IDAT', zlib.deflateSync(rows, {level: 1})), chunk('IEND', Buffer.alloc(0))]);
}

// The 44-byte header of a 16-bit PCM WAV file, as the native capture writes it.
export function wavHeader(dataBytes, rate, channels) {
  const h = Buffer.alloc(44);
  h.write('RIFF', 0, 'latin1');
  h.writeUInt32LE(36 + dataBytes, 4);
  h.write('WAVEfmt ', 8, 'latin1');
  h.writeUInt32LE(16, 16);
  h.writeUInt16LE(1, 20);
  h.writeUInt16LE(channels, 22);
  h.writeUInt32LE(rate, 24);
  h.writeUInt32LE(rate * channels * 2, 28);
  h.writeUInt16LE(channels * 2, 32);
  h.writeUInt16LE(16, 34);
  h.write('data', 36, 'latin1');
  h.writeUInt32LE(dataBytes, 40);
  return h;
}

async function body(request) {
  const parts = [];
  for await (const part of request) parts.push(part);
  return Buffer.concat(parts);
}

// The capture's receiving end: one capture at a time, into captureDir.
class CaptureSink {
  constructor(dir) {
    this.dir = dir;
    this.exitCode = new Promise((resolve) => (this.resolveExit = resolve));
  }

  async handle(what, query, data) {
    switch (what) {
      case 'open':
        this.width = Number(query.get('width'));
        this.height = Number(query.get('height'));
        this.rate = Number(query.get('rate'));
        this.frames = 0;
        this.audio = [];
        await fs.mkdir(this.dir, {recursive: true});
        return 200;
      case 'frame':
        if (!this.width || data.length !== this.width * this.height * 3) return 400;
        await fs.writeFile(path.join(this.dir, 'frame_' + String(this.frames++).padStart(6, '0') + '.png'),
                           encodePng(data, this.width, this.height));
        return 200;
      case 'audio':
        if (!this.audio) return 400;
        this.audio.push(data);
        return 200;
      case 'finish': {
        if (!this.audio) return 400;
        const pcm = Buffer.concat(this.audio);
        await fs.writeFile(path.join(this.dir, 'audio.wav'), Buffer.concat([wavHeader(pcm.length, this.rate, 2), pcm]));
        return 200;
      }
      case 'exit':
        this.resolveExit(Number(query.get('code')));
        return 200;
      default:
        return 404;
    }
  }
}

// root: the folder served; files: extra names served from elsewhere ({'show.pak': '/path/x.pak'});
// captureDir: where captures go (none: capture requests get 404).
export function startServer({root, files = {}, captureDir = null, port = 0}) {
  const sink = captureDir ? new CaptureSink(captureDir) : null;
  const server = createServer(async (request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    try {
      if (request.method === 'POST' && url.pathname.startsWith('/capture/')) {
        const data = await body(request);
        response.writeHead(sink ? await sink.handle(url.pathname.slice(9), url.searchParams, data) : 404);
        return response.end();
      }
      if (request.method !== 'GET' && request.method !== 'HEAD') {
        response.writeHead(405);
        return response.end();
      }
      const name = decodeURIComponent(url.pathname === '/' ? '/index.html' : url.pathname).slice(1);
      let file = files[name];
      if (!file) {
        file = path.resolve(root, name);
        if (!file.startsWith(path.resolve(root) + path.sep)) {
          response.writeHead(403);
          return response.end();
        }
      }
      const stat = await fs.stat(file).catch(() => null);
      if (!stat || !stat.isFile()) {
        response.writeHead(404, {'Content-Type': 'text/plain'});
        return response.end(name + ' not found\n');
      }
      response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                               'Content-Length': stat.size, 'Cache-Control': 'no-store'});
      if (request.method === 'HEAD') return response.end();
      createReadStream(file).pipe(response);
    } catch (error) {
      response.writeHead(500);
      response.end(String(error));
    }
  });
  return new Promise((resolve, reject) => {
    server.on('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolve({
        url: 'http://127.0.0.1:' + server.address().port + '/',
        exited: sink ? sink.exitCode : new Promise(() => {}),
        close: () => new Promise((done) => {
          server.close(done);
          server.closeAllConnections();  // the browser's kept-alive ones too
        }),
      });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const portAt = args.indexOf('--port');
  const port = portAt >= 0 ? Number(args.splice(portAt, 2)[1]) : 8080;
  if (args.length !== 1) {
    console.error('usage: node tools/web/serve.mjs FOLDER [--port N]');
    process.exit(2);
  }
  startServer({root: args[0], port}).then(
    (server) => console.log('Serving ' + args[0] + ' at ' + server.url + ' (Ctrl+C ends)'),
    (error) => {
      console.error('serve.mjs: ' + error.message);
      process.exit(1);
    });
}
