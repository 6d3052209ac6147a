// Runs the browser build's page in headless Chromium for the browser test (browser_compare_test.cpp),
// serving it from 127.0.0.1 with tools/web/serve.mjs and driving Chromium through its DevTools
// protocol over a pipe (no WebSocket, no packages). Two modes:
//
//   node browser_run.mjs capture PAGE ARCHIVE OUT --fps N --size WxH [--seconds S]
//       the page's capture mode: frame_NNNNNN.png and audio.wav in OUT, as `demo --capture OUT`
//   node browser_run.mjs live PAGE ARCHIVE OUT --seconds S
//       the page as a person sees it: a click, S seconds of show, a screenshot (OUT/playing.png),
//       Escape, the report (OUT/ended.png); what the page measured in OUT/live.json
//   node browser_run.mjs messages PAGE ARCHIVE OUT --damaged FILE
//       what the page says where it cannot play: a missing, damaged (FILE) or foreign archive, one
//       that is no archive, and a browser without WebGL 2 or Web Audio; OUT/messages.json
//
// The browser's console goes to OUT/console.log. Exit status 0 when the run completed (what it
// found is for the test to judge), 1 with the reason on stderr when it did not.

import {spawn} from 'node:child_process';
import {promises as fs} from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const {startServer} = await import(path.join(here, '../../tools/web/serve.mjs'));

// WebGL 2 on the CPU (SwiftShader through ANGLE), sound without a user's gesture, and nothing that
// reaches past this machine: this machine's network is closed, and Chromium's own background
// connections are refused many at a time without these switches.
export const chromiumSwitches = [
  '--headless', '--no-sandbox', '--no-first-run', '--disable-quic', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--disable-default-apps', '--disable-extensions',
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--autoplay-policy=no-user-gesture-required',
  '--window-size=800,600', '--remote-debugging-pipe',
];

class Chromium {
  static async launch(userDataDir, log) {
    const browser = new Chromium();
    browser.process = spawn(process.env.CHROMIUM || 'chromium', [...chromiumSwitches, '--user-data-dir=' + userDataDir],
                            {stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe']});
    browser.process.stderr.on('data', (data) => log(String(data)));
    browser.exited = new Promise((resolve) => browser.process.on('exit', resolve));
    browser.pending = new Map();
    browser.listeners = [];
    browser.nextId = 0;
    let buffer = Buffer.alloc(0);
    browser.process.stdio[4].on('data', (data) => {
      buffer = Buffer.concat([buffer, data]);
      for (let end; (end = buffer.indexOf(0)) >= 0; buffer = buffer.subarray(end + 1)) {
        const message = JSON.parse(buffer.subarray(0, end).toString());
        if (message.id !== undefined && browser.pending.has(message.id)) {
          browser.pending.get(message.id)(message);
          browser.pending.delete(message.id);
        } else {
          for (const listener of browser.listeners) listener(message);
        }
      }
    });
    const targets = await browser.send('Target.getTargets');
    const page = targets.targetInfos.find((t) => t.type === 'page');
    browser.session = (await browser.send('Target.attachToTarget', {targetId: page.targetId, flatten: true})).sessionId;
    return browser;
  }

  send(method, params = {}, sessionId = undefined) {
    const id = ++this.nextId;
    const message = {id, method, params};
    if (sessionId) message.sessionId = sessionId;
    this.process.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, (answer) => {
      if (answer.error) reject(new Error(method + ': ' + answer.error.message));
      else resolve(answer.result);
    }));
  }

  page(method, params = {}) {
    return this.send(method, params, this.session);
  }

  async evaluate(expression) {
    const result = await this.page('Runtime.evaluate', {expression, returnByValue: true, awaitPromise: true});
    if (result.exceptionDetails) throw new Error(expression + ': ' + result.exceptionDetails.text);
    return result.result.value;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), deadline(3000)]);
    } catch (error) {
      // gone already
    }
    this.process.kill();
    await this.exited;
  }
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function press(browser, key, code, keyCode) {
  for (const type of ['keyDown', 'keyUp']) {
    const text = type === 'keyDown' && key.length === 1 ? key : undefined;
    await browser.page('Input.dispatchKeyEvent', {type, key, code, text, windowsVirtualKeyCode: keyCode,
                                                  nativeVirtualKeyCode: keyCode});
  }
}
// A time limit that does not keep the process alive once everything else is done.
const deadline = (ms) => new Promise((resolve) => setTimeout(resolve, ms).unref());

// Polls the page's status until `done` holds, or throws after `seconds`.
async function waitFor(browser, what, done, seconds) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const status = await browser.evaluate('JSON.stringify(window.demoStatus || null)').then(JSON.parse);
    if (status && done(status)) return status;
    if (status && status.state === 'failed') throw new Error('the page failed: ' + status.message);
    if (Date.now() > until) {
      throw new Error('no ' + what + ' within ' + seconds + ' s; the page says ' + JSON.stringify(status));
    }
    await sleep(200);
  }
}

function option(args, name, fallback) {
  const at = args.indexOf(name);
  return at >= 0 ? args[at + 1] : fallback;
}

async function capture(browser, server, args, timeout) {
  const query = new URLSearchParams({show: 'show.pak', capture: '', fps: option(args, '--fps', '8'),
                                     size: option(args, '--size', '320x240')});
  if (option(args, '--seconds')) query.set('seconds', option(args, '--seconds'));
  const started = Date.now();
  await browser.page('Page.navigate', {url: server.url + 'index.html?' + query});
  const code = await Promise.race([server.exited, deadline(timeout * 1000).then(() => null)]);
  if (code === null) throw new Error('the capture did not end within ' + timeout + ' s');
  console.log('capture ended with ' + code + ' after ' + ((Date.now() - started) / 1000).toFixed(1) + ' s');
  return code;
}

async function live(browser, server, out, args) {
  const seconds = Number(option(args, '--seconds', '10'));
  await browser.page('Page.navigate', {url: server.url + 'index.html?show=show.pak'});
  const loaded = Date.now();
  await waitFor(browser, 'offer to start', (s) => s.state === 'ready', 60);
  const loadMs = Date.now() - loaded;
  const box = await browser.evaluate('JSON.stringify(document.getElementById("overlay").getBoundingClientRect())')
                  .then(JSON.parse);
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  for (const type of ['mousePressed', 'mouseReleased'])
    await browser.page('Input.dispatchMouseEvent', {type, x, y, button: 'left', clickCount: 1});
  await waitFor(browser, 'first frame', (s) => s.frames > 0, 60);
  await sleep(seconds * 1000);
  const audio = 'demoStatus.audio ? {peak: demoStatus.audio.peak, soundFrames: demoStatus.audio.soundFrames, ' +
                'playedFrames: demoStatus.audio.playedFrames(), rate: demoStatus.audio.context.sampleRate} : null';
  const playing = await browser.evaluate('JSON.stringify(Object.assign({}, demoStatus, {audio: ' + audio + '}))')
                      .then(JSON.parse);
  const shot = await browser.page('Page.captureScreenshot', {format: 'png'});
  await fs.writeFile(path.join(out, 'playing.png'), Buffer.from(shot.data, 'base64'));
  // F into full screen and out again; what holds it each time.
  const fullscreen = [];
  for (let i = 0; i < 2; ++i) {
    await press(browser, 'f', 'KeyF', 70);
    await sleep(500);
    fullscreen.push(await browser.evaluate('document.fullscreenElement ? document.fullscreenElement.id : ""'));
  }
  playing.fullscreen = fullscreen;
  await press(browser, 'Escape', 'Escape', 27);
  const ended = await waitFor(browser, 'end after Escape', (s) => s.state === 'ended', 20);
  const after = await browser.page('Page.captureScreenshot', {format: 'png'});
  await fs.writeFile(path.join(out, 'ended.png'), Buffer.from(after.data, 'base64'));
  await fs.writeFile(path.join(out, 'live.json'), JSON.stringify({loadMs, playing, ended}, null, 2) + '\n');
  console.log(JSON.stringify({loadMs, playing, ended}));
}

// Each case: the page's address, and what the browser lacks (made so before the page's scripts run).
const messageCases = [
  {name: 'missing', query: 'show=nothing.pak'},
  {name: 'damaged', query: 'show=damaged.pak'},
  {name: 'notArchive', query: 'show=index.html'},
  {name: 'foreign', query: 'show=' + encodeURIComponent('http://example.invalid/show.pak')},
  {name: 'noWebGl2', query: 'show=show.pak', lacks: `{
     const getContext = HTMLCanvasElement.prototype.getContext;
     HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
       return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
     };
   }`},
  {name: 'noWebAudio', query: 'show=show.pak', lacks: 'delete window.AudioContext; delete window.webkitAudioContext;'},
];

async function messages(browser, server, out) {
  const found = {};
  for (const c of messageCases) {
    const script = c.lacks ? await browser.page('Page.addScriptToEvaluateOnNewDocument', {source: c.lacks}) : null;
    await browser.page('Page.navigate', {url: server.url + 'index.html?' + c.query});
    const until = Date.now() + 30000;
    let status;
    do {
      await sleep(100);
      status = await browser.evaluate('JSON.stringify(window.demoStatus || null)').then(JSON.parse);
    } while ((!status || !['failed', 'ready'].includes(status.state)) && Date.now() < until);
    found[c.name] = {state: status && status.state, message: status && status.message};
    if (script) await browser.page('Page.removeScriptToEvaluateOnNewDocument', {identifier: script.identifier});
  }
  await fs.writeFile(path.join(out, 'messages.json'), JSON.stringify(found, null, 2) + '\n');
  console.log(JSON.stringify(found));
}

async function main() {
  const [mode, page, archive, out, ...args] = process.argv.slice(2);
  if (!['capture', 'live', 'messages'].includes(mode) || !out) {
    console.error('usage: node browser_run.mjs capture|live|messages PAGE ARCHIVE OUT [options]');
    return 2;
  }
  await fs.rm(out, {recursive: true, force: true});
  await fs.mkdir(out, {recursive: true});
  const logLines = [];
  const log = (line) => logLines.push(line);
  const files = {'show.pak': path.resolve(archive)};
  if (option(args, '--damaged')) files['damaged.pak'] = path.resolve(option(args, '--damaged'));
  const server = await startServer({root: page, files, captureDir: mode === 'capture' ? out : null});
  const profile = await fs.mkdtemp(path.join(os.tmpdir(), 'demo-chromium-'));
  let browser;
  try {
    browser = await Chromium.launch(profile, () => {});
    browser.listeners.push((message) => {
      if (message.method === 'Runtime.consoleAPICalled')
        log(message.params.type + ': ' + message.params.args.map((a) => a.value ?? a.description).join(' '));
      if (message.method === 'Runtime.exceptionThrown')
        log('exception: ' + JSON.stringify(message.params.exceptionDetails));
    });
    await browser.page('Runtime.enable');
    await browser.page('Page.enable');
    if (mode === 'capture') await capture(browser, server, args, Number(option(args, '--timeout', '900')));
    else if (mode === 'live') await live(browser, server, out, args);
    else await messages(browser, server, out);
    return 0;
  } catch (error) {
    console.error('browser_run: ' + error.message);
    return 1;
  } finally {
    await fs.writeFile(path.join(out, 'console.log'), logLines.join('\n') + '\n');
    if (browser) await browser.close();
    await server.close();
    await fs.rm(profile, {recursive: true, force: true});
  }
}

process.exitCode = await main();
