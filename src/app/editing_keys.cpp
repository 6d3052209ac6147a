// The keys that make the window a place to work on a show: Space pauses and resumes, Left and Right
// seek five seconds, Page Up and Page Down go to the labels, Home starts again, L loops between the
// labels around the current time. The title bar shows the music time and the label in force.
#include "app/application.h"
#include "script/show_time.h"

namespace demo {
namespace {

constexpr uint32_t SeekStep = 5000;
// Page Up this soon after a label goes to the one before it, as a player's "previous" does.
constexpr uint32_t LabelGrace = 1000;
// The title shows tenths of a second: it changes ten times a second, not every frame.
constexpr uint32_t TitleStep = 100;

std::string labelText(const NameEntry<int32_t>* label) {
  return label ? "[" + std::string(label->name) + "]" : "the start";
}

}  // namespace

bool Application::editKey(int key) {
  const uint32_t now = show_->frame.demoTime;
  const NameList<int32_t>& labels = show_->names.labels;
  switch (key) {
    case KeySpace:
      paused_ = !paused_;
      if (paused_)
        music_.pause();
      else
        music_.resume();
      break;
    case KeyLeft:
      restartShow(now > SeekStep ? now - SeekStep : 0);
      break;
    case KeyRight:
      restartShow(now + SeekStep);
      break;
    case KeyPageUp: {
      const NameEntry<int32_t>* label = labelBefore(labels, now > LabelGrace ? now - LabelGrace : 0);
      restartShow(label ? static_cast<uint32_t>(label->object) : 0);
      break;
    }
    case KeyPageDown:
      if (const NameEntry<int32_t>* label = labelAfter(labels, now)) restartShow(static_cast<uint32_t>(label->object));
      break;
    case KeyHome:
      restartShow(0);
      break;
    case KeyL:
      if (looping_) {
        // Off: back to what the command line asked for.
        looping_ = section_.loop;
        loopFrom_ = sectionTimes_.from.value_or(0);
        loopTo_ = sectionTimes_.to;
      } else {
        const NameEntry<int32_t>* from = labelAt(labels, now);
        const NameEntry<int32_t>* to = labelAfter(labels, now);
        looping_ = true;
        loopFrom_ = from ? static_cast<uint32_t>(from->object) : 0;
        loopTo_ = to ? std::optional<uint32_t>(static_cast<uint32_t>(to->object)) : scriptEndTime(*show_);
      }
      applyRange(*show_);
      break;
    default:
      return false;
  }
  title_.clear();  // shown anew with the next frame
  return true;
}

void Application::updateTitle() {
  const uint32_t now = show_->frame.demoTime;
  std::string title = "Demo  " + formatShowTime(now / TitleStep * TitleStep);
  if (const NameEntry<int32_t>* label = labelAt(show_->names.labels, now)) title += "  " + labelText(label);
  if (paused_) title += "  paused";
  if (looping_) {
    const NameList<int32_t>& labels = show_->names.labels;
    const NameEntry<int32_t>* from = labelAt(labels, loopFrom_);
    const bool fromIsLabel = from && static_cast<uint32_t>(from->object) == loopFrom_;
    title += "  loop " + (fromIsLabel ? labelText(from) : formatShowTime(loopFrom_)) + " to " +
             (loopTo_ ? formatShowTime(*loopTo_) : std::string("the end"));
  }
  if (!reloadProblem_.empty()) title += "  " + reloadProblem_;
  if (title == title_) return;
  title_ = title;
  host_.setTitle(title.c_str());
}

}  // namespace demo
