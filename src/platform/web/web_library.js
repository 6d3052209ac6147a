// The page's side of the browser backends (web_page.h): what the program calls in JavaScript. Each
// call goes to the objects the page hands the module: Module.demoPage (demo_page.js: canvas, cursor,
// message overlay, frame counts) and Module.demoAudio (audio_player.js: the Web Audio player). Without
// them (a module started by something other than the page) the calls do nothing and the player
// reports itself missing.

mergeInto(LibraryManager.library, {
  demo_page_show_canvas: function(visible) {
    if (Module.demoPage) Module.demoPage.showCanvas(visible !== 0);
  },
  demo_page_show_cursor: function(visible) {
    if (Module.demoPage) Module.demoPage.showCursor(visible !== 0);
  },
  demo_page_message: function(text, caption, error) {
    if (Module.demoPage) Module.demoPage.message(UTF8ToString(text), UTF8ToString(caption), error !== 0);
  },
  demo_page_frame: function(frameCount, demoTime) {
    if (Module.demoPage) Module.demoPage.frame(frameCount >>> 0, demoTime >>> 0);
  },
  demo_page_ended: function(code) {
    if (Module.demoPage) Module.demoPage.ended(code);
  },

  demo_audio_open: function(rate) {
    return Module.demoAudio && Module.demoAudio.open(rate) ? 1 : 0;
  },
  demo_audio_start: function(ring, bytes) {
    // A copy: the program's memory may move when it grows, and the player keeps its own ring.
    Module.demoAudio.start(HEAP16.slice(ring >> 1, (ring + bytes) >> 1));
  },
  demo_audio_update: function(data, offset, bytes) {
    Module.demoAudio.update(offset >>> 1, HEAP16.slice(data >> 1, (data + bytes) >> 1));
  },
  demo_audio_played_frames: function() {
    return Module.demoAudio ? Module.demoAudio.playedFrames() : 0;
  },
  demo_audio_reset: function() {
    if (Module.demoAudio) Module.demoAudio.reset();
  },
});
