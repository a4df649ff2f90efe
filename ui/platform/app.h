#pragma once

// The application object of the rendering, declared in its native_app.h:
//
//   CWinApp(int& argc, char** argv)   takes the whole command line
//   std::vector<std::filesystem::path> CommandLinePaths() const
//                                     the words after the program's name that
//                                     are not the toolkit's own options
#include "native_app.h"
