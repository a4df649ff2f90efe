#pragma once

// The application object of the rendering and what it knows of the command
// line, declared in its native_app.h:
//
//   CWinApp(int& argc, char** argv)   takes the whole command line
//   std::vector<std::string> CommandLineWords(int argc, char** argv)
//                                     the words after the program's name
//   std::optional<bool> ToolkitOption(std::string_view name)
//                                     whether the toolkit takes the option for
//                                     itself, and then whether with a value
//   std::string_view ToolkitOptionsHelp()
//   void TellWithoutWindow(const std::string& text, bool problem)
#include "native_app.h"
