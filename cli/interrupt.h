// Ctrl-C: the first SIGINT only raises a flag that the running job reads
// through the library's cancel callback, so the library stops cleanly and
// the command removes what it started to write. A second Ctrl-C ends the
// process at once.
#pragma once

namespace velmora::cli {

void InstallInterruptHandler();
// True once SIGINT has arrived.
bool Interrupted();

}  // namespace velmora::cli
