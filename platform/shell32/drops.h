// The layer's side of a drop: the names it carries, behind a checked HDROP.
#pragma once

#include "shell32.h"

#include <string>
#include <string_view>
#include <vector>

namespace shell32 {

// The local file paths of a text/uri-list, as the file system's bytes, in
// their order; other URIs are left out.
std::vector<std::string> LocalPathsOfUriList(std::string_view uriList);

// A new live drop holding the paths, to post with WM_DROPFILES.
HDROP AddDrop(std::vector<std::string> paths);

} // namespace shell32
