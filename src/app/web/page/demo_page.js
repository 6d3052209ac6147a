// The page around the show: checks what the browser offers, fetches the program and the show's
// archive with progress, checks the archive, waits for the click that may start sound, and shows the
// program's message boxes. Address parameters:
//   show=NAME     the archive to play (default showcase.pak), from this page's own site only
//   capture       the browser test's capture mode (page_capture.h), with fps=N, size=WxH, seconds=S
// window.demoStatus tells a test driver how far the page got.
'use strict';

(function () {
  const params = new URLSearchParams(location.search);
  const canvas = document.getElementById('canvas');
  const overlay = document.getElementById('overlay');
  const caption = document.getElementById('caption');
  const text = document.getElementById('text');
  const progress = document.getElementById('progress');
  const status = window.demoStatus = {state: 'loading', message: '', exitCode: null, frames: 0, demoTime: 0,
                                      heardMs: null, clickToFirstFrameMs: null, framesPerSecond: null};

  function show(title, body, kind) {
    caption.textContent = title;
    text.textContent = body;
    overlay.className = kind || '';
    overlay.hidden = false;
    progress.hidden = kind !== 'loading';
  }

  function fail(title, body) {
    status.state = 'failed';
    status.message = title + ': ' + body;
    show(title, body, 'error');
  }

  // The bytes of a file of this page's site, reporting how many have come; on failure a message
  // that calls it `name`.
  async function fetchBytes(url, name, onBytes) {
    let response;
    try {
      response = await fetch(url, {credentials: 'same-origin'});
    } catch (error) {
      throw new Error(name + ' could not be fetched: ' + error.message);
    }
    if (!response.ok) {
      throw new Error(name + ' is missing: the server answered ' + response.status + ' ' + response.statusText);
    }
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const chunks = [];
    let received = 0;
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      chunks.push(value);
      received += value.length;
      onBytes(received, total);
    }
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const chunk of chunks) {
      bytes.set(chunk, at);
      at += chunk.length;
    }
    return bytes;
  }

  // What the program calls (web_library.js).
  const page = {
    showCanvas(visible) {
      canvas.style.visibility = visible ? 'visible' : 'hidden';
    },
    showCursor(visible) {
      canvas.style.cursor = visible ? '' : 'none';
    },
    message(body, title, error) {
      status.message = title + ': ' + body;
      show(title, body, error ? 'error' : '');
    },
    frame(frames, demoTime) {
      if (status.clickToFirstFrameMs === null && frames > 0) {
        status.clickToFirstFrameMs = performance.now() - page.clickTime;
        page.firstFrame = {time: performance.now(), frames};
      }
      status.frames = frames;
      status.demoTime = demoTime;
      // What had been heard when the frame was presented, to set the show's clock against.
      status.heardMs = page.audio ? page.audio.playedFrames() * 1000 / DemoAudio.Rate : null;
      if (page.firstFrame && performance.now() > page.firstFrame.time) {
        status.framesPerSecond = (frames - page.firstFrame.frames) * 1000 / (performance.now() - page.firstFrame.time);
      }
    },
    ended(code) {
      if (page.audio) page.audio.close();
      status.exitCode = code;
      if (status.state !== 'failed') status.state = 'ended';
      if (page.onEnded) page.onEnded(code);
    },
    clickTime: 0,
    firstFrame: null,
    audio: null,
  };

  async function load() {
    if (typeof WebAssembly !== 'object') {
      return fail('No WebAssembly', 'This browser cannot run the show: it has no WebAssembly.');
    }
    if (!document.createElement('canvas').getContext('webgl2')) {
      return fail('No WebGL 2', 'This browser cannot draw the show: it offers no WebGL 2, or has it turned off.');
    }
    const capture = params.has('capture');
    if (!capture && !window.AudioContext && !window.webkitAudioContext) {
      return fail('No Web Audio', 'This browser cannot play the show\'s music: it has no Web Audio.');
    }
    const name = params.get('show') || 'showcase.pak';
    const archiveUrl = new URL(name, location.href);
    if (archiveUrl.origin !== location.origin) {
      return fail('Not this site\'s show',
                  'The page plays archives of its own site only, not one from ' + archiveUrl.origin + '.');
    }

    show('Loading', name, 'loading');
    const received = {program: 0, archive: 0}, totals = {program: 0, archive: 0};
    const report = (which) => (bytes, total) => {
      received[which] = bytes;
      totals[which] = total;
      const all = totals.program + totals.archive, got = received.program + received.archive;
      progress.firstElementChild.style.width = all ? Math.min(100, 100 * got / all) + '%' : '0';
      const of = all ? ' of ' + (all / 1e6).toFixed(1) : '';
      text.textContent = name + ' \u2014 ' + (got / 1e6).toFixed(1) + of + ' MB';
    };
    let wasm, archive;
    try {
      [wasm, archive] = await Promise.all([fetchBytes('demo.wasm', 'The program demo.wasm', report('program')),
                                           fetchBytes(archiveUrl.href, 'The archive ' + name, report('archive'))]);
    } catch (error) {
      return fail('Cannot load the show', error.message);
    }

    let module;
    try {
      module = await createDemoModule({
        wasmBinary: wasm,
        canvas,
        demoPage: page,
        print: (line) => console.log(line),
        printErr: (line) => console.error(line),
      });
    } catch (error) {
      return fail('Cannot start the program', String(error));
    }
    module.FS.writeFile('/demo', archive);
    const problem = module.ccall('demo_archive_problem', 'string', ['string'], [name]);
    if (problem) return fail('Cannot play the show', problem);

    if (capture) return runCapture(module);
    status.state = 'ready';
    show('Click to start', name + '\nF: full screen \u00b7 Escape: end the show', 'clickable');
    overlay.addEventListener('click', () => start(module), {once: true});
  }

  async function start(module) {
    page.clickTime = performance.now();
    overlay.hidden = true;
    let audio;
    try {
      audio = await DemoAudio.create('ring_worklet.js');
    } catch (error) {
      audio = null;
    }
    if (!audio) return fail('No Web Audio', 'The show\'s music cannot be played in this browser.');
    module.demoAudio = page.audio = audio;
    document.addEventListener('visibilitychange', () => (document.hidden ? audio.suspend() : audio.resume()));
    status.audio = audio;
    status.state = 'running';
    module.callMain(['win']);
  }

  function runCapture(module) {
    status.state = 'capturing';
    show('Capturing', 'The show is being recorded for a test.', '');
    const args = ['--capture', 'page'];
    if (params.has('fps')) args.push('--fps', params.get('fps'));
    if (params.has('size')) args.push('--size', params.get('size'));
    if (params.has('seconds')) args.push('--seconds', params.get('seconds'));
    page.onEnded = (code) => {
      navigator.sendBeacon('capture/exit?code=' + code);
    };
    // Draws into the canvas while it runs, but nothing is shown until it returns.
    setTimeout(() => module.callMain(args), 0);
  }

  load();
})();
