#pragma once
// What the page's JavaScript offers the program (web_library.js, linked in with --js-library): the
// canvas, the cursor and the message overlay of the page, and the page's Web Audio player.

#include <cstdint>

extern "C" {

void demo_page_show_canvas(int visible);
void demo_page_show_cursor(int visible);
void demo_page_message(const char* text, const char* caption, int error);
// Once per frame the show presented: the page counts frames and times the first.
void demo_page_frame(uint32_t frameCount, uint32_t demoTime);
// The show has ended with this exit code (its report box is on the page already).
void demo_page_ended(int code);

// 1 when the page's player can play 16-bit stereo at this rate.
int demo_audio_open(int rate);
// Playback of the ring starts from its first byte: the player takes a copy of all of it.
void demo_audio_start(const void* ring, uint32_t bytes);
// New contents for a stretch of the player's copy.
void demo_audio_update(const void* data, uint32_t ringOffset, uint32_t bytes);
// Frames heard since playback started, by the audio clock.
double demo_audio_played_frames();
// Playback stops and the position returns to 0.
void demo_audio_reset();
}
