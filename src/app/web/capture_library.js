// The page's side of capture in the browser (page_capture.h): synchronous requests to the server
// the page came from, so that each frame has left before the next is drawn.

mergeInto(LibraryManager.library, {
  demo_capture_post: function(what, data, bytes) {
    const request = new XMLHttpRequest();
    request.open('POST', 'capture/' + UTF8ToString(what), false);
    try {
      request.send(bytes ? HEAPU8.slice(data, data + bytes) : null);
    } catch (error) {
      return 0;
    }
    return request.status;
  },
});
