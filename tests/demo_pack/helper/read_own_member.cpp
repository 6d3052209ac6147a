// Prints one file as the show opens it: from the program's own archive, else from disk.
#include <cstdio>

#include "archive/reader.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  demo::Reader reader;
  const int status = reader.open(argv[1]);
  if (status != demo::ReadOk) {
    std::printf("status %d\n", status);
    return 1;
  }
  std::fwrite(reader.data(), 1, reader.size(), stdout);
  return 0;
}
