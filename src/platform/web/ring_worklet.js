// Plays a copy of the engine's ring buffer in a loop, from a start frame on the audio clock on, the
// way a wave device plays the ring it was given. The main thread sends the whole ring when playback
// starts and then each stretch the engine renders, before the loop reaches it (ring_feed.h).
//
// Loaded twice: as the AudioWorklet module (the audio thread runs the loop), and as a plain script
// for browsers without AudioWorklet (pages not served over https), where a ScriptProcessorNode on the
// main thread runs the same functions.

// What the player holds. Sample positions are in the ring's 44100 Hz frames.
function ringPlayerState() {
  return {ring: null, ringFrames: 0, startFrame: 0, step: 1, peak: 0, soundFrames: 0};
}

// One message from the main thread: {start, ring}, {offset, data} or {stop}.
function ringPlayerMessage(state, message) {
  if (message.ring) {
    state.ring = message.ring;
    state.ringFrames = message.ring.length / 2;
    state.startFrame = message.start;
    state.step = message.step;
  } else if (message.data && state.ring) {
    state.ring.set(message.data, message.offset);
  } else if (message.stop) {
    state.ring = null;
  }
}

// Fills the two channels with the ring's frames from context frame `frame` on; silence before the
// start. Where the context does not run at 44100 Hz the ring is stepped through at the ratio,
// taking the nearest frame.
function ringPlayerFill(state, left, right, frame) {
  const ring = state.ring;
  let peak = state.peak;
  let sound = 0;
  for (let i = 0; i < left.length; ++i) {
    const position = (frame + i - state.startFrame) * state.step;
    if (!ring || position < 0) {
      left[i] = right[i] = 0;
      continue;
    }
    const at = (Math.floor(position) % state.ringFrames) * 2;
    const l = ring[at] / 32768, r = ring[at + 1] / 32768;
    left[i] = l;
    right[i] = r;
    const loudest = Math.max(Math.abs(l), Math.abs(r));
    if (loudest > peak) peak = loudest;
    if (loudest > 0) ++sound;
  }
  state.peak = peak;
  state.soundFrames += sound;
}

if (typeof registerProcessor === 'function') {
  // What the main thread learns of the sound: the loudest sample and how many frames were not
  // silent, about four times a second.
  const ReportFrames = 11025;

  registerProcessor('demo-ring', class extends AudioWorkletProcessor {
    constructor() {
      super();
      this.state = ringPlayerState();
      this.sinceReport = 0;
      this.port.onmessage = (event) => ringPlayerMessage(this.state, event.data);
    }

    process(inputs, outputs) {
      const output = outputs[0];
      ringPlayerFill(this.state, output[0], output[1] || output[0], currentFrame);
      this.sinceReport += output[0].length;
      if (this.sinceReport >= ReportFrames) {
        this.sinceReport = 0;
        this.port.postMessage({peak: this.state.peak, soundFrames: this.state.soundFrames});
      }
      return true;
    }
  });
}
