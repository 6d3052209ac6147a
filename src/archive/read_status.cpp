#include "archive/read_status.h"

#include "archive/reader.h"

namespace demo {

const char* readStatusText(int status) {
  switch (status) {
    case ReadOk: return "no error";
    case ReadNotFound: return "not found (neither in the archive nor on disk)";
    case ReadSeekFailed: return "cannot be read: seeking failed, or the file is 4 GiB or larger (258)";
    case ReadShort: return "cannot be read: fewer bytes came than the file holds (259)";
    case ReadNoData: return "no data (260)";
    case ReadPastEnd: return "read past the end (261)";
    case ReadCorrupt: return "damaged archive member (262)";
    case ReadBadMagic: return "carries no archive (266)";
    default: return "unknown read failure";
  }
}

}  // namespace demo
