#include "app/frame_step.h"

namespace demo {

bool frameStep(Show& show, const std::function<void()>& finished) {
  FrameState& frame = show.frame;
  RenderDevice& device = *show.layer.device();
  if (frame.showStarted) {
    frame.demoTime = show.readClock();
    // --to: the frame that would show that time is not drawn, as after `end`.
    if (show.range.to && frame.demoTime >= *show.range.to) {
      show.range.toReached = true;
      return false;
    }
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, frame.backgroundColor, 1.0f, 0);
    device.SetRenderState(D3DRS_AMBIENT, FrameAmbient);
  }
  if (show.timeline.stepInstructions(show) == StepResult::Stop) return false;
  frame.sceneOpen = false;
  const StepResult active = show.timeline.runActive(show);
  if (frame.sceneOpen) device.EndScene();
  if (active == StepResult::Stop) return false;
  if (show.range.catchingUp) {
    show.range.catchingUp = false;
    return true;  // nothing shown, counted or slept: the next frame draws this time again, cleared
  }
  if (finished) finished();
  device.Present();
  ++frame.frameCount;
  show.host.sleep(1);
  return true;
}

}  // namespace demo
