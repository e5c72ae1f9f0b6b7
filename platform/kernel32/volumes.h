// Which files are on a network file system, and the debug switch that makes
// every folder behave as one there, for testing what the program does.
#pragma once

namespace kernel32 {

// The open file is on a network file system (or the switch is set).
bool OnNetworkFileSystem(int fd);

// PIDVIEW_REMOTE_FOLDERS is set: volumes are remote and change
// notifications never come.
bool FoldersActRemote();

} // namespace kernel32
