#pragma once

// Where the program and its data live. Directory paths end with "/".

#include <string>

namespace platform {

// The directory of the running program file.
std::string programDirectory();

// The directory of the files shipped with the program (help pages, default settings and site
// book): the program's directory in a build, <prefix>/share/quillftp/ when installed.
std::string shippedFilesDirectory();

// The directory of the program's data files (settings, site book, unfinished transfers):
// $QUILLFTP_HOME when set; else the program's directory when it is writable; else
// $XDG_CONFIG_HOME/quillftp (~/.config/quillftp). Created when missing.
std::string dataDirectory();

} // namespace platform
