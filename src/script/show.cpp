#include "script/show.h"

namespace demo {

void Show::openScene() {
  if (frame.sceneOpen) return;
  layer.device()->BeginScene();
  frame.sceneOpen = true;
}

}  // namespace demo
