// The main thread's side of the browser's wave output (web_wave_out.h): an AudioContext at the
// show's 44100 Hz playing a copy of the engine's ring (ring_worklet.js), and the played position
// from the audio clock.
//
// Made from the click that starts the show: browsers let sound start only from a user's gesture.

class DemoAudio {
  // Half a tenth of a second between the call that starts playback and the first frame heard:
  // enough for the start message to reach the audio thread before its frame comes round.
  static StartLead = 0.05;
  static Rate = 44100;

  // Null when the browser has no Web Audio. Must be called inside the click's handler: the context
  // is created and resumed there, before anything is awaited.
  static async create(workletUrl) {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    let context;
    try {
      context = new Context({sampleRate: DemoAudio.Rate, latencyHint: 'playback'});
    } catch (error) {
      context = new Context();  // a browser that cannot choose its rate resamples in the player
    }
    const resumed = context.resume();
    const player = new DemoAudio(context);
    await player.connect(workletUrl);
    await resumed;
    return player;
  }

  constructor(context) {
    this.context = context;
    this.started = false;
    this.startTime = 0;
    this.peak = 0;  // the loudest sample played so far, 0 to 1
    this.soundFrames = 0;  // frames played that were not silent
  }

  // The AudioWorklet where there is one (it needs a secure context: https or localhost), else a
  // ScriptProcessorNode running the same loop on the main thread.
  async connect(workletUrl) {
    if (this.context.audioWorklet) {
      try {
        await this.context.audioWorklet.addModule(workletUrl);
        this.node = new AudioWorkletNode(this.context, 'demo-ring', {numberOfInputs: 0, outputChannelCount: [2]});
        this.node.port.onmessage = (event) => {
          this.peak = event.data.peak;
          this.soundFrames = event.data.soundFrames;
        };
        this.send = (message) => this.node.port.postMessage(message);
        this.node.connect(this.context.destination);
        return;
      } catch (error) {
        console.warn('AudioWorklet unavailable, playing on the main thread:', error);
      }
    }
    const state = ringPlayerState();
    this.node = this.context.createScriptProcessor(2048, 0, 2);
    this.node.onaudioprocess = (event) => {
      const out = event.outputBuffer;
      const frame = Math.round(event.playbackTime * this.context.sampleRate);
      ringPlayerFill(state, out.getChannelData(0), out.getChannelData(1), frame);
      this.peak = state.peak;
      this.soundFrames = state.soundFrames;
    };
    this.send = (message) => ringPlayerMessage(state, message);
    this.node.connect(this.context.destination);
  }

  open(rate) {
    return rate === DemoAudio.Rate && this.context.state !== 'closed';
  }

  // ring: Int16Array of the whole ring, interleaved stereo.
  start(ring) {
    const rate = this.context.sampleRate;
    this.startTime = this.context.currentTime + DemoAudio.StartLead;
    this.send({ring, start: Math.round(this.startTime * rate), step: DemoAudio.Rate / rate});
    this.started = true;
  }

  // offset: in samples (two a frame).
  update(offset, data) {
    this.send({offset, data});
  }

  // Frames heard since the start, in the ring's 44100 Hz: from the time the output is presenting
  // now where the browser tells it, else from the context's time less its latencies.
  playedFrames() {
    if (!this.started) return 0;
    const context = this.context;
    let heard;
    const stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
    if (stamp && stamp.contextTime > 0) {
      heard = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
      heard = Math.min(heard, context.currentTime);
    } else {
      heard = context.currentTime - (context.baseLatency || 0) - (context.outputLatency || 0);
    }
    return Math.max(0, Math.floor((heard - this.startTime) * DemoAudio.Rate));
  }

  reset() {
    if (this.started) this.send({stop: true});
    this.started = false;
  }

  // Once the show has ended: the audio thread stops.
  close() {
    this.reset();
    if (this.context.state !== 'closed') this.context.close();
  }

  // Hidden pages pause the show: the audio clock stops, and with it the picture.
  suspend() {
    if (this.context.state === 'running') this.context.suspend();
  }
  resume() {
    if (this.context.state === 'suspended') this.context.resume();
  }
}
