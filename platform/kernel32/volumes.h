// The debug switch that makes every folder behave as one on a network file
// system, for testing what the program does there.
#pragma once

namespace kernel32 {

// PIDVIEW_REMOTE_FOLDERS is set: volumes are remote and change
// notifications never come.
bool FoldersActRemote();

} // namespace kernel32
