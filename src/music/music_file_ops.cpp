#include "music/music_file_ops.h"

namespace demo {

void setMusicFileOps(MusicFileOps& ops, MusicFileOps::Open open, MusicFileOps::Close close, MusicFileOps::Read read,
                     MusicFileOps::Seek seek, MusicFileOps::Tell tell) {
  ops = MusicFileOps{open, close, read, seek, tell};
  if (!ops.complete()) ops = MusicFileOps{};
}

}  // namespace demo
