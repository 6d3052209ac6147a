// make_tune OUT.xm: writes the built-in show's tune.

#include <cstdio>
#include <exception>

#include "tune_score.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_tune OUT.xm\n");
    return 2;
  }
  try {
    demo::saveXm(argv[1], demo::show::composeTune());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_tune: %s\n", e.what());
    return 1;
  }
  return 0;
}
