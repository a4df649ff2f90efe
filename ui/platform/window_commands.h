#pragma once

// Numbers the window system gives its own commands and answers. Macros, so that where the
// system's headers define them already those are taken.
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#endif
#ifndef IDYES
#define IDYES 6
#endif
#ifndef IDNO
#define IDNO 7
#endif
#ifndef MF_STRING
#define MF_STRING 0x0000
#endif
#ifndef MF_SEPARATOR
#define MF_SEPARATOR 0x0800
#endif

namespace morvane::ui {

// How a message box presents itself.
enum class MessageKind { Error, Warning, Note };

}  // namespace morvane::ui
